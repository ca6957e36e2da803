VERSION 5.00
Begin VB.Form frmMain 
   BorderStyle     =   3  'Fixed Dialog
   Caption         =   "Inventaire – Stock"
   ClientHeight    =   4215
   ClientLeft      =   45
   ClientTop       =   330
   ClientWidth     =   6495
   LinkTopic       =   "Form1"
   MaxButton       =   0   'False
   MinButton       =   0   'False
   ScaleHeight     =   4215
   ScaleWidth      =   6495
   StartUpPosition =   2  'CenterScreen
   Begin VB.Timer tmrClock 
      Interval        =   1000
      Left            =   5880
      Top             =   3720
   End
   Begin VB.Frame fraCategory 
      Caption         =   "Catégorie"
      Height          =   1335
      Left            =   120
      TabIndex        =   6
      Top             =   2280
      Width           =   2895
      Begin VB.OptionButton optCategory 
         Caption         =   "Matériel"
         Height          =   255
         Index           =   0
         Left            =   240
         TabIndex        =   7
         Top             =   360
         Value           =   -1  'True
         Width           =   2415
      End
      Begin VB.OptionButton optCategory 
         Caption         =   "Logiciel"
         Height          =   255
         Index           =   1
         Left            =   240
         TabIndex        =   8
         Top             =   720
         Width           =   2415
      End
   End
   Begin VB.CheckBox chkTaxable 
      Caption         =   "Soumis à la TVA"
      Height          =   255
      Left            =   3240
      TabIndex        =   5
      Top             =   2400
      Value           =   1  'Checked
      Width           =   2175
   End
   Begin VB.ComboBox cboUnit 
      Height          =   315
      Left            =   3240
      Style           =   2  'Dropdown List
      TabIndex        =   4
      Top             =   1800
      Width           =   1575
   End
   Begin VB.ListBox lstItems 
      Height          =   1620
      Left            =   120
      TabIndex        =   3
      Top             =   480
      Width           =   2895
   End
   Begin VB.TextBox txtName 
      BeginProperty Font {0BE35203-8F91-11CE-9DE3-00AA004BB851} 
         Name            =   "Tahoma"
         Size            =   9.75
         Charset         =   0
         Weight          =   700
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      Height          =   375
      Left            =   3240
      MaxLength       =   40
      TabIndex        =   1
      Text            =   "Élément"
      Top             =   480
      Width           =   3135
   End
   Begin VB.CommandButton cmdAdd 
      Caption         =   "&Ajouter"
      Default         =   -1  'True
      Height          =   375
      Left            =   3240
      TabIndex        =   2
      Top             =   1080
      Width           =   1455
   End
   Begin VB.Label lblName 
      AutoSize        =   -1  'True
      Caption         =   "Désignation :"
      Height          =   195
      Left            =   3240
      TabIndex        =   0
      Top             =   240
      Width           =   945
   End
End
Attribute VB_Name = "frmMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

' Saisie des articles : le nom, l'unité et la catégorie de chaque produit.

Private WithEvents mProduct As clsProduct
Attribute mProduct.VB_VarHelpID = -1
Private mCategory As StockCategory

Private Sub Form_Load()
    cboUnit.AddItem UnitName(suPiece)
    cboUnit.AddItem UnitName(suKilogramme)
    cboUnit.AddItem UnitName(suMetre)
    cboUnit.ListIndex = 0
    mCategory = scHardware
    Set mProduct = New clsProduct
    Caption = APP_TITLE
End Sub

Private Sub cmdAdd_Click()
    If Len(Trim$(txtName.Text)) = 0 Then
        MsgBox "Saisissez d'abord la désignation.", vbExclamation, APP_TITLE
        txtName.SetFocus
        Exit Sub
    End If
    mProduct.Name = txtName.Text
    mProduct.Quantity = mProduct.Quantity + 1
    AddLine mProduct.Name, cboUnit.ListIndex, mCategory, _
            chkTaxable.Value = vbChecked
    lstItems.AddItem mProduct.Name & " (" & cboUnit.Text & ")"
End Sub

Private Sub optCategory_Click(Index As Integer)
    mCategory = Index
End Sub

Private Sub tmrClock_Timer()
    lblName.Caption = "Désignation : " & Format$(Now, "hh:nn:ss")
End Sub

Private Sub mProduct_QuantityChanged(ByVal NewQuantity As Long)
    Caption = APP_TITLE & " – " & NewQuantity & " article(s)"
End Sub
