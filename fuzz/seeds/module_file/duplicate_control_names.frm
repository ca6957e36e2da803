VERSION 5.00
Begin VB.Form frmTwice 
   Begin VB.CommandButton cmdGo 
   End
   Begin VB.CommandButton cmdGo 
   End
End
Attribute VB_Name = "frmTwice"
