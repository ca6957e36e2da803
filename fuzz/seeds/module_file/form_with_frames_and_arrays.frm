VERSION 5.00
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
Begin VB.Form frmOrders 
   BorderStyle     =   3  'Fixed Dialog
   Caption         =   "Orders ""open"""
   ClientHeight    =   3195
   ClientWidth     =   4680
   Icon            =   "frmOrders.frx":0000
   LinkTopic       =   "Form1"
   ScaleHeight     =   3195
   StartUpPosition =   1  'CenterOwner
   Begin VB.Frame fraFilter 
      Caption         =   "Filter"
      Height          =   1215
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   4455
      Begin VB.OptionButton optKind 
         Caption         =   "Open"
         Height          =   255
         Index           =   0
         Left            =   120
         TabIndex        =   2
         Top             =   240
         Value           =   -1  'True
         Width           =   1215
      End
      Begin VB.OptionButton optKind 
         Caption         =   "Closed"
         Height          =   255
         Index           =   1
         Left            =   120
         TabIndex        =   3
         Top             =   600
         Width           =   1215
      End
      Begin VB.TextBox txtCustomer 
         BeginProperty Font 
            Name            =   "Tahoma"
            Size            =   9.75
            Charset         =   0
            Weight          =   700
            Underline       =   0   'False
            Italic          =   -1  'True
            Strikethrough   =   0   'False
         EndProperty
         Height          =   285
         Left            =   1560
         MaxLength       =   40
         TabIndex        =   1
         Text            =   "frmOrders.frx":0442
         Top             =   240
         Width           =   2775
      End
   End
   Begin MSComctlLib.ListView lvwOrders 
      Height          =   1335
      Left            =   120
      TabIndex        =   4
      Top             =   1440
      Width           =   4455
      _ExtentX        =   7858
      _ExtentY        =   2355
      View            =   3
      BeginProperty ColumnHeaders {BDD1F052-858B-11D1-B16A-00C0F0283628} 
         NumItems        =   1
         BeginProperty ColumnHeader(1) {BDD1F049-858B-11D1-B16A-00C0F0283628} 
            Text            =   "Order"
            Object.Width           =   2540
         EndProperty
      EndProperty
   End
   Begin VB.Timer tmrRefresh 
      Interval        =   1000
      Left            =   4080
      Top             =   2640
   End
   Begin VB.CommandButton cmdClose 
      Cancel          =   -1  'True
      Caption         =   "&Close"
      Height          =   375
      Left            =   3360
      TabIndex        =   5
      Top             =   2760
      Width           =   1215
   End
   Begin VB.Menu mnuFile 
      Caption         =   "&File"
      Begin VB.Menu mnuFileExit 
         Caption         =   "E&xit"
      End
   End
End
Attribute VB_Name = "frmOrders"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private Sub cmdClose_Click()
    Unload Me
End Sub

Private Sub optKind_Click(Index As Integer)
    tmrRefresh.Enabled = (Index = 0)
End Sub
