VERSION 5.00
Begin VB.MDIForm mdiMain 
   BackColor       =   &H8000000C&
   Caption         =   "Ledger"
   ClientHeight    =   5000
   ClientWidth     =   8000
   Begin VB.PictureBox picStatus 
      Align           =   2  'Align Bottom
      Height          =   300
      ScaleHeight     =   240
      TabIndex        =   0
      Width           =   8000
   End
End
Attribute VB_Name = "mdiMain"
Attribute VB_PredeclaredId = True
Private Sub MDIForm_Load()
End Sub