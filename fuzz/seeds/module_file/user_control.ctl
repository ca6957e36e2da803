VERSION 5.00
Begin VB.UserControl ucGauge 
   ClientHeight    =   600
   ClientWidth     =   2400
   ScaleHeight     =   600
   ScaleWidth      =   2400
   ToolboxBitmap   =   "ucGauge.ctx":0000
   Begin VB.Label lblValue 
      Alignment       =   2  'Center
      Caption         =   "0%"
      Height          =   255
      Left            =   0
      TabIndex        =   0
      Top             =   120
      Width           =   2400
   End
End
Attribute VB_Name = "ucGauge"
Attribute VB_Exposed = True
Public Property Get Value() As Long
Attribute Value.VB_UserMemId = 0
End Property
