Attribute VB_Name = "modText�"
Public Const Grüße As String = "Größe – €"
