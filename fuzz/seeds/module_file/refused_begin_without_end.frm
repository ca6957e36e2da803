VERSION 5.00
Begin VB.Form frmCut 
   Caption         =   "Cut"
   Begin VB.TextBox txtA 
      Text            =   "a"
End
Attribute VB_Name = "frmCut"
