VERSION 5.00
Begin VB.Form frmFont 
   BeginProperty Font 
      Name            =   "Arial"
   Begin VB.Label lblA 
   End
End
Attribute VB_Name = "frmFont"
