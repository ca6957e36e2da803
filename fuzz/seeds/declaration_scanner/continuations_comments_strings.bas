Private mText As String _
    , mMore As String
' Public Hidden As Long
Rem Public AlsoHidden As Long
Public Const QUOTE = "'": Public Const COLON = ":"
Private Function Join3(a As String, _
  b As String, _
  c As String) As String
End Function
Public Sub Empty_()
End Sub _
