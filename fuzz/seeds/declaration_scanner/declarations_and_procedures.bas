Option Explicit
Private Const A = 1, B = "x,y", C As Long = (2, 3)
Dim mA As Long, mB() As String, [Odd Name] As Variant
Public WithEvents App As Application
Global gCount%, gRate#
Private Declare PtrSafe Sub Sleep Lib "kernel32" (ByVal ms As Long)
Public Event Done()
Private Type POINTAPI: x As Long: y As Long: End Type
Enum Colours
  Red
End Enum
DefInt A-Z
Static sCount As Long
Implements IRunner

Friend Sub Go(): End Sub
Public Static Function Twice(ByVal n As Long) As Long
  Twice = n * 2
End Function
Property Get Name() As String: Name = "n": End Property
Property Let Name(ByVal v As String)
End Property
Property Set Target(ByVal v As Object)
End Property
Sub Unfinished()
