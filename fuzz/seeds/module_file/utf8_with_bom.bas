Attribute VB_Name = "modTexte"
Public Const Grüße As String = "Größe – €"
