Attribute VB_Name = "modLedger"
Option Explicit
Option Compare Text

#Const LOGGING = 1
Private Declare Function GetTickCount Lib "kernel32" () As Long
Public Const LEDGER_MAX As Long = 500, LEDGER_MIN = 1
Private mTotal As Currency, mNames(1 To 10) As String
Public Type LedgerRow
    Amount As Currency
    Note As String * 40
End Type
Public Enum RowKind
    rkDebit = 1
    rkCredit
End Enum

#If LOGGING Then
Public Sub Log(ByVal Text As String)
    Debug.Print Text
End Sub
#Else
Public Sub Log(ByVal Text As String): End Sub
#End If

Public Function Total(Optional ByVal Extra As Currency = 0, _
                      Optional ByVal Rounded As Boolean) As Currency
    Dim s As String: s = "a:b 'not a comment"
    Total = mTotal + Extra ' the running sum
End Function
Rem a closing remark
