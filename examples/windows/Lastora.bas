Attribute VB_Name = "Lastora"
' Lastora: Beispielmodul fuer eine Vereins-Arbeitsmappe.
'
' Importieren: im VBA-Editor (Alt+F11) Datei > Datei importieren... > Lastora.bas.
' Es muss kein Verweis gesetzt werden: die Komponente wird spaet gebunden ueber
' CreateObject("Lastora.Class1") erzeugt. Vorher muss Lastora.dll registriert sein
' (siehe README.txt).
'
' Erwartete Blaetter:
'   "Einstellungen": Spalte B, Zeilen 1 bis 206, die Einstellungen in der Reihenfolge
'                    des Einstellungsfeldes (Zeile n = Zelle n von aVariablen).
'   "Mitglieder":    die Mitgliederliste ab Zeile 1, so wie die Verarbeitung sie erwartet.
Option Explicit

Private Const ANZAHL_EINSTELLUNGEN As Long = 206

' Liest die Einstellungen in ein Feld mit den Indizes 1 bis 206.
Private Function EinstellungenLesen() As Variant
    Dim aWerte As Variant, aVariablen() As Variant, i As Long
    aWerte = ThisWorkbook.Worksheets("Einstellungen").Range("B1:B206").Value
    ReDim aVariablen(1 To ANZAHL_EINSTELLUNGEN)
    For i = 1 To ANZAHL_EINSTELLUNGEN
        aVariablen(i) = aWerte(i, 1)
    Next i
    EinstellungenLesen = aVariablen
End Function

' Schreibt die von der Komponente zurueckgegebenen Einstellungen auf das Blatt.
Private Sub EinstellungenSchreiben(ByVal aVariablen As Variant)
    Dim aWerte() As Variant, i As Long
    ReDim aWerte(1 To ANZAHL_EINSTELLUNGEN, 1 To 1)
    For i = 1 To ANZAHL_EINSTELLUNGEN
        aWerte(i, 1) = aVariablen(i)
    Next i
    ThisWorkbook.Worksheets("Einstellungen").Range("B1:B206").Value = aWerte
End Sub

' Ein leeres Feld in der Groesse des Werte-Feldes, fuer die Farben der Zellen.
Private Function LeeresFeldWie(ByVal aWerte As Variant) As Variant
    Dim aFeld() As Variant
    ReDim aFeld(1 To UBound(aWerte, 1), 1 To UBound(aWerte, 2))
    LeeresFeldWie = aFeld
End Function

' Werte und Farben zurueck auf das Blatt; leere Farbzellen lassen die Zelle, wie sie ist.
Private Sub ErgebnisSchreiben(ByVal wsBlatt As Worksheet, ByVal aWerte As Variant, _
                             ByVal aFarben As Variant)
    Dim lngZeile As Long, lngSpalte As Long
    wsBlatt.Range(wsBlatt.Cells(1, 1), _
                  wsBlatt.Cells(UBound(aWerte, 1), UBound(aWerte, 2))).Value = aWerte
    For lngZeile = 1 To UBound(aFarben, 1)
        For lngSpalte = 1 To UBound(aFarben, 2)
            If Not IsEmpty(aFarben(lngZeile, lngSpalte)) Then
                wsBlatt.Cells(lngZeile, lngSpalte).Interior.Color = aFarben(lngZeile, lngSpalte)
            End If
        Next lngSpalte
    Next lngZeile
End Sub

' Verarbeitung, Erzeugung der Zahlungsdatei und Pruefung der erzeugten Datei in einem Lauf.
Public Sub LastschriftenErstellen()
    Dim oLastora As Object, wsMitglieder As Worksheet
    Dim aVariablen As Variant, aWerte As Variant, aFarben As Variant
    Dim aBLZintern As Variant, aBLZneu As Variant
    Dim strErgebnis As String, strOrdner As String

    Set oLastora = CreateObject("Lastora.Class1")
    Set wsMitglieder = ThisWorkbook.Worksheets("Mitglieder")

    ' 1. Verarbeitung: Beitraege berechnen, Konten pruefen, Zellen einfaerben.
    aVariablen = EinstellungenLesen()
    aWerte = wsMitglieder.UsedRange.Value
    aFarben = LeeresFeldWie(aWerte)
    strErgebnis = oLastora.ext_SEPA_Bearbeitung(aVariablen, aWerte, aFarben)
    ErgebnisSchreiben wsMitglieder, aWerte, aFarben
    EinstellungenSchreiben aVariablen
    If strErgebnis <> "ok" Then
        MsgBox "Verarbeitung: " & strErgebnis, vbExclamation, "Lastora"
        Exit Sub
    End If

    ' 2. Erzeugung: die SEPA-Datei(en) im Ausgabeordner der Einstellungen (Zelle 21).
    strOrdner = aVariablen(21)
    aFarben = LeeresFeldWie(aWerte)
    strErgebnis = oLastora.ext_SEPA_Erzeugung(aVariablen, aWerte, aFarben, strOrdner)
    EinstellungenSchreiben aVariablen
    If strErgebnis <> "ok" Then
        MsgBox "Erzeugung: " & strErgebnis, vbExclamation, "Lastora"
        Exit Sub
    End If

    ' 3. Pruefung: die erzeugten Dateien (Dateinamen aus den Zellen 182 und 183) zuruecklesen.
    strErgebnis = oLastora.ext_SEPA_Checker(aVariablen, aWerte, aFarben, aBLZintern, aBLZneu, _
                                            strOrdner & aVariablen(182), _
                                            strOrdner & aVariablen(183))
    MsgBox "Pruefung: " & strErgebnis, vbInformation, "Lastora"
    Set oLastora = Nothing
End Sub
