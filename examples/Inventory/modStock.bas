Attribute VB_Name = "modStock"
Option Explicit

' Gestion du stock : unités, catégories, lignes et calcul des prix.

Public Const APP_TITLE As String = "Inventaire"
Public Const TAX_RATE As Double = 0.2
Private Const MAX_LINES As Integer = 500

Public Enum StockUnit
    suPiece = 0
    suKilogramme = 1
    suMetre = 2
End Enum

Public Enum StockCategory
    scHardware = 0
    scSoftware = 1
End Enum

Public Type StockLine
    Name As String
    Unit As StockUnit
    Category As StockCategory
    Taxable As Boolean
End Type

Private mLines(1 To MAX_LINES) As StockLine
Private mLineCount As Integer

' Ajoute une ligne ; au-delà de MAX_LINES, l'erreur 9 est levée.
Public Sub AddLine(ByVal Name As String, ByVal Unit As StockUnit, _
                   ByVal Category As StockCategory, ByVal Taxable As Boolean)
    If mLineCount >= MAX_LINES Then Err.Raise 9, "modStock", "Le stock est plein."
    mLineCount = mLineCount + 1
    With mLines(mLineCount)
        .Name = Name
        .Unit = Unit
        .Category = Category
        .Taxable = Taxable
    End With
End Sub

Public Function LineCount() As Integer
    LineCount = mLineCount
End Function

Public Function PriceWithTax(ByVal Price As Currency, ByVal Taxable As Boolean) As Currency
    If Taxable Then
        PriceWithTax = Price * (1 + TAX_RATE)
    Else
        PriceWithTax = Price
    End If
End Function

Public Function UnitName(ByVal Unit As StockUnit) As String
    Select Case Unit
        Case suPiece: UnitName = "pièce"
        Case suKilogramme: UnitName = "kilogramme"
        Case suMetre: UnitName = "mètre"
        Case Else: UnitName = "?"
    End Select
End Function
