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

' Zellen von aVariablen, die dieses Modul selbst fuellt oder liest.
Private Const IDX_ORDNER As Long = 21          ' SepaPATH: Ausgabeordner
Private Const IDX_AUSFUEHRUNG As Long = 23     ' SepaADAT: Ausfuehrungsdatum
Private Const IDX_KENNUNG As Long = 28         ' SepaFRID: Anfang aller IDs
Private Const IDX_DATEI1 As Long = 182         ' SepaFIL1: Dateiname FRST
Private Const IDX_DATEI2 As Long = 183         ' SepaFIL2: Dateiname RCUR
Private Const IDX_NACHRICHT1 As Long = 192     ' SepaFMI1: Nachrichten-ID FRST
Private Const IDX_NACHRICHT2 As Long = 193     ' SepaFMI2: Nachrichten-ID RCUR
Private Const IDX_ZAHLUNGSINFO1 As Long = 194  ' SepaFPI1: Zahlungsinfo-ID FRST
Private Const IDX_ZAHLUNGSINFO2 As Long = 195  ' SepaFPI2: Zahlungsinfo-ID RCUR

' Spalten der Mitgliederliste nach der Verarbeitung.
Private Const SPALTE_ZAHLUNGS_ID As Long = 7
Private Const SPALTE_BETRAG As Long = 8

' Eine ID darf hoechstens 35 Zeichen haben. Die laengste ist Kennung & "-" & Zeitpunkt
' (14 Ziffern) & "-FRST-MSG": fuer die Kennung bleiben 11 Zeichen.
Private Const MAX_KENNUNG As Long = 35 - 1 - 14 - 9
' Die Zeichen, die eine Bank in einer SEPA-ID annimmt.
Private Const SEPA_ZEICHEN As String = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz" & _
                                       "0123456789 +?/-:().,'"

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

' Wahr fuer eine Zelle ohne Inhalt: leer oder ein leerer Text. Einzeln geprueft, denn VBA
' wertet "And" ganz aus, und der Vergleich einer Zahl mit "" waere ein Typfehler.
Private Function IstLeer(ByVal vWert As Variant) As Boolean
    If IsEmpty(vWert) Then
        IstLeer = True
    ElseIf VarType(vWert) = vbString Then
        IstLeer = (Len(vWert) = 0)
    End If
End Function

' Setzt die genannten Zellen von aVariablen auf einen Wert. Die Komponente rechnet mit den
' Zaehlern als Zahlen weiter: ein leerer Zaehler auf dem Blatt liesse den Lauf scheitern, und
' Zahlen eines frueheren Laufs wuerden mitgezaehlt.
Private Sub ZellenSetzen(ByRef aVariablen As Variant, ByVal aIndizes As Variant, _
                         ByVal vWert As Variant)
    Dim vIndex As Variant
    For Each vIndex In aIndizes
        aVariablen(vIndex) = vWert
    Next vIndex
End Sub

' Der Anfang aller IDs: SepaFRID mit ausgeschriebenen Umlauten, nur mit Zeichen, die eine Bank
' annimmt, auf 11 Zeichen gekuerzt; "LASTORA", wenn davon nichts bleibt.
Private Function IdKennung(ByVal aVariablen As Variant) As String
    Dim strText As String, strKennung As String, i As Long
    strText = Trim$(CStr(aVariablen(IDX_KENNUNG)))
    strText = Replace(strText, ChrW(&HDC), "Ue")
    strText = Replace(strText, ChrW(&HC4), "Ae")
    strText = Replace(strText, ChrW(&HD6), "Oe")
    strText = Replace(strText, ChrW(&HFC), "ue")
    strText = Replace(strText, ChrW(&HE4), "ae")
    strText = Replace(strText, ChrW(&HF6), "oe")
    strText = Replace(strText, ChrW(&HDF), "ss")
    For i = 1 To Len(strText)
        If InStr(1, SEPA_ZEICHEN, Mid$(strText, i, 1), vbBinaryCompare) > 0 Then
            strKennung = strKennung & Mid$(strText, i, 1)
        End If
    Next i
    strKennung = Trim$(Left$(Trim$(strKennung), MAX_KENNUNG))
    If Len(strKennung) = 0 Then strKennung = "LASTORA"
    IdKennung = strKennung
End Function

' Schritt "Nummerieren und ID'S anlegen" nach der Verarbeitung: jede Zeile mit Betrag
' (Spalte 8) und ohne Zahlungs-ID (Spalte 7) bekommt Kennung-JJJJMMTT-NNNNN, mit dem
' Ausfuehrungsdatum und der Zeilennummer (mindestens fuenfstellig). Ohne Zahlungs-ID schreibt
' die Erzeugung keine Zahlung. Gibt "ok" oder den Fehlertext zurueck.
Private Function ZahlungsIDsVergeben(ByVal aVariablen As Variant, ByRef aWerte As Variant, _
                                     ByRef lngAnzahl As Long) As String
    Dim strPraefix As String, lngZeile As Long
    lngAnzahl = 0
    If Not IsDate(aVariablen(IDX_AUSFUEHRUNG)) Then
        ZahlungsIDsVergeben = "Fehler in Abbuchungsdatum: " & CStr(aVariablen(IDX_AUSFUEHRUNG))
        Exit Function
    End If
    If UBound(aWerte, 2) < SPALTE_BETRAG Then
        ZahlungsIDsVergeben = "Die Mitgliederliste hat keine Spalte " & SPALTE_BETRAG & _
                              " (Betrag)."
        Exit Function
    End If
    strPraefix = IdKennung(aVariablen) & "-" & _
                 Format$(CDate(aVariablen(IDX_AUSFUEHRUNG)), "yyyymmdd")
    For lngZeile = LBound(aWerte, 1) To UBound(aWerte, 1)
        If Not IstLeer(aWerte(lngZeile, SPALTE_BETRAG)) Then
            If IstLeer(aWerte(lngZeile, SPALTE_ZAHLUNGS_ID)) Then
                aWerte(lngZeile, SPALTE_ZAHLUNGS_ID) = strPraefix & "-" & _
                    Format$(lngZeile - LBound(aWerte, 1) + 1, "00000")
                lngAnzahl = lngAnzahl + 1
            End If
        End If
    Next lngZeile
    ZahlungsIDsVergeben = "ok"
End Function

' Vor der Erzeugung: Nachrichten- und Zahlungsinfo-IDs, wo die Einstellungen keine nennen, aus
' Kennung und jetzigem Zeitpunkt. Die Bank weist eine Nachrichten-ID ab, die sie schon kennt;
' eine am selben Tag berichtigte Datei braucht also eine neue. Ohne diese IDs (oder mit "-")
' laesst die Erzeugung den Durchgang aus.
Private Sub DateiIDsAnlegen(ByRef aVariablen As Variant)
    Dim strAnfang As String
    strAnfang = IdKennung(aVariablen) & "-" & Format$(Now, "yyyymmddhhnnss")
    If Len(Trim$(CStr(aVariablen(IDX_NACHRICHT1)))) = 0 Then _
        aVariablen(IDX_NACHRICHT1) = strAnfang & "-FRST-MSG"
    If Len(Trim$(CStr(aVariablen(IDX_NACHRICHT2)))) = 0 Then _
        aVariablen(IDX_NACHRICHT2) = strAnfang & "-RCUR-MSG"
    If Len(Trim$(CStr(aVariablen(IDX_ZAHLUNGSINFO1)))) = 0 Then _
        aVariablen(IDX_ZAHLUNGSINFO1) = strAnfang & "-FRST"
    If Len(Trim$(CStr(aVariablen(IDX_ZAHLUNGSINFO2)))) = 0 Then _
        aVariablen(IDX_ZAHLUNGSINFO2) = strAnfang & "-RCUR"
End Sub

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
    Dim strErgebnis As String, strOrdner As String, lngNummeriert As Long

    Set oLastora = CreateObject("Lastora.Class1")
    Set wsMitglieder = ThisWorkbook.Worksheets("Mitglieder")

    ' 1. Verarbeitung: Beitraege berechnen, Konten pruefen, Zellen einfaerben. Die Zaehler
    '    ProgBearFehl, -Warn, -Zeic und -Umla (Zellen 94 bis 97) zaehlen sonst weiter.
    aVariablen = EinstellungenLesen()
    ZellenSetzen aVariablen, Array(94, 95, 96, 97), "0"
    aWerte = wsMitglieder.UsedRange.Value
    aFarben = LeeresFeldWie(aWerte)
    strErgebnis = oLastora.ext_SEPA_Bearbeitung(aVariablen, aWerte, aFarben)
    If strErgebnis = "ok" Then
        ' 2. Zahlungs-IDs in Spalte 7, auch auf dem Blatt.
        strErgebnis = ZahlungsIDsVergeben(aVariablen, aWerte, lngNummeriert)
    End If
    ErgebnisSchreiben wsMitglieder, aWerte, aFarben
    EinstellungenSchreiben aVariablen
    If strErgebnis <> "ok" Then
        MsgBox "Verarbeitung: " & strErgebnis, vbExclamation, "Lastora"
        Exit Sub
    End If

    ' 3. Erzeugung: die SEPA-Datei(en) im Ausgabeordner der Einstellungen. Zuerst die Zaehler
    '    und Ergebnisse eines frueheren Laufs leeren (Warnungen 105, Anzahlen 188/189/131,
    '    Summen 190/191/132 auf "0"; Pruefergebnisse 133/196/197 und Dateien 121/122 leer),
    '    dann die Datei-IDs anlegen.
    ZellenSetzen aVariablen, Array(105, 188, 189, 190, 191, 131, 132), "0"
    ZellenSetzen aVariablen, Array(133, 196, 197, 121, 122), ""
    DateiIDsAnlegen aVariablen
    strOrdner = aVariablen(IDX_ORDNER)
    aFarben = LeeresFeldWie(aWerte)
    strErgebnis = oLastora.ext_SEPA_Erzeugung(aVariablen, aWerte, aFarben, strOrdner)
    EinstellungenSchreiben aVariablen
    If strErgebnis <> "ok" Then
        MsgBox "Erzeugung: " & strErgebnis, vbExclamation, "Lastora"
        Exit Sub
    End If

    ' 4. Pruefung: die erzeugten Dateien zuruecklesen.
    strErgebnis = oLastora.ext_SEPA_Checker(aVariablen, aWerte, aFarben, aBLZintern, aBLZneu, _
                                            strOrdner & aVariablen(IDX_DATEI1), _
                                            strOrdner & aVariablen(IDX_DATEI2))
    MsgBox "Nummerieren und ID'S anlegen: " & lngNummeriert & " Payment-IDs" & vbCrLf & _
           "Pruefung: " & strErgebnis, vbInformation, "Lastora"
    Set oLastora = Nothing
End Sub
