' The server as any script meets it: created by its ProgID and called late-bound.
Option Explicit
Dim lastora, settings(206), notATable, answer
Set lastora = CreateObject("Lastora.Class1")

If lastora.getPruefziffer("DE00370400440532013000") <> "89" Then WScript.Quit 2
If lastora.RubLeadingZero("000123") <> "123" Then WScript.Quit 3
lastora.strPathProgram = "Kasse"
If lastora.strPathProgram <> "Kasse" Then WScript.Quit 4

' A table argument that is no table gets the run's own text, not a script error.
notATable = "keine Tabelle"
answer = lastora.ext_SEPA_Bearbeitung(settings, notATable, notATable)
WScript.Echo answer
If Left(answer, 8) <> "Fehler: " Then WScript.Quit 6
If notATable <> "keine Tabelle" Then WScript.Quit 7

Set lastora = Nothing
WScript.Echo "DONE"
