#!/usr/bin/env bash
# Writes the mail-merge templates once with LibreOffice, so that the tests and the sample club
# get documents as a real word processor lays them out (placeholders split over runs, headers,
# text boxes, a logo frame). The results are committed; run this again only to change them.
# Needs: soffice (libreoffice-writer-nogui, libreoffice-calc-nogui) and ImageMagick's convert.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The club's logo and the grey box that stands for it in the templates.
convert -size 240x120 xc:'#1d3f8a' -fill '#f2c230' -draw 'circle 120,60 120,18' \
  -fill white -draw 'rectangle 30,95 210,105' "$work/logo.png"
convert -size 60x80 xc:'#cccccc' "$work/box.png"
cp "$work/logo.png" "$root/examples/club/Vorlagen/Lastora_Logo.png"
cp "$work/logo.png" "$root/tests/data/mailmerge/logo.png"
box="$(base64 -w 0 "$work/box.png")"

# The opening of a flat OpenDocument file of the kind given (text or spreadsheet).
document_head() {
  cat <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.$1">
EOF
}

# A letter: header with the club's name, a logo frame, placeholders partly bold so that the word
# processor splits them over runs, a table, a text box, a footer. pages=2 adds a second page.
letter() {
  local pages="$1" extra=""
  if [ "$pages" = 2 ]; then
    extra='<text:p text:style-name="Umbruch">Seite zwei für <<Mitglied>></text:p>'
    for i in $(seq 1 12); do
      extra+="<text:p>Absatz $i: Satzungsgemäß zieht der Verein den Beitrag von <<Jahresbeitrag>> Euro ein.</text:p>"
    done
  fi
  document_head text
  cat <<EOF
 <office:styles>
  <style:style style:name="Standard" style:family="paragraph">
   <style:text-properties fo:font-size="11pt"/>
  </style:style>
 </office:styles>
 <office:automatic-styles>
  <style:style style:name="Fett" style:family="text"><style:text-properties fo:font-weight="bold"/></style:style>
  <style:style style:name="Umbruch" style:family="paragraph"><style:paragraph-properties fo:break-before="page"/></style:style>
  <style:page-layout style:name="Seite">
   <style:page-layout-properties fo:page-width="21cm" fo:page-height="29.7cm" fo:margin-top="1.5cm"
    fo:margin-bottom="1.5cm" fo:margin-left="2.5cm" fo:margin-right="2cm"/>
   <style:header-style/><style:footer-style/>
  </style:page-layout>
 </office:automatic-styles>
 <office:master-styles>
  <style:master-page style:name="Standard" style:page-layout-name="Seite">
   <style:header><text:p>TSV Musterstadt e.V. · <<Verein>></text:p></style:header>
   <style:footer><text:p>Mitgliedsnummer <<Nr>></text:p></style:footer>
  </style:master-page>
 </office:master-styles>
 <office:body><office:text>
  <text:p><draw:frame draw:name="Vereinslogo" text:anchor-type="page" text:anchor-page-number="1"
    svg:x="15.5cm" svg:y="2.2cm" svg:width="2.1cm" svg:height="2.8cm" draw:z-index="0">
    <draw:image><office:binary-data>$box</office:binary-data></draw:image></draw:frame></text:p>
  <text:p><<Kontoinhaber>></text:p>
  <text:p>Mitglied Nr. <<Nr>></text:p>
  <text:p/>
  <text:p>Musterstadt, <<Heute>></text:p>
  <text:p/>
  <text:p><text:span text:style-name="Fett">Beitragsbescheid für <<Mit</text:span>glied>></text:p>
  <text:p>Liebe/r <<Kontoinhaber>>, wir ziehen am Fälligkeitstag <text:span text:style-name="Fett">&lt;&lt;Jahresbeitrag&gt;&gt; Euro</text:span> von Ihrem Konto <<IBAN>> ein (Mandat <<Mandatsreferenz>>).</text:p>
  <table:table table:name="Aufstellung">
   <table:table-column table:number-columns-repeated="2"/>
   <table:table-row>
    <table:table-cell><text:p>Mitglied</text:p></table:table-cell>
    <table:table-cell><text:p><<Mitglied>></text:p></table:table-cell>
   </table:table-row>
   <table:table-row>
    <table:table-cell><text:p>Betrag</text:p></table:table-cell>
    <table:table-cell><text:p><<Jahresbeitrag>> Euro</text:p></table:table-cell>
   </table:table-row>
  </table:table>
  <text:p><draw:frame draw:name="Hinweis" text:anchor-type="paragraph" svg:width="8cm" svg:height="1.5cm">
    <draw:text-box><text:p>Fragen? Kasse: <<Verein>></text:p></draw:text-box></draw:frame></text:p>
  <text:p>Mit freundlichen Grüßen</text:p>
  $extra
 </office:text></office:body>
</office:document>
EOF
}

# An address label sheet: the first sheet holds one label (a sender line merged over both
# columns, the member's lines, a spacer row), "Settings" row 2 (the definition row of the sample
# club's labels) lays 21 of them out on an A4 page, 3 across and 7 down, and gives the label's
# row heights and column widths. The print range covers the one label; the run widens it.
labels() {
  document_head spreadsheet
  cat <<'EOF'
 <office:automatic-styles>
  <style:style style:name="Rand" style:family="table-column"><style:table-column-properties style:column-width="0.4cm"/></style:style>
  <style:style style:name="Text" style:family="table-column"><style:table-column-properties style:column-width="6cm"/></style:style>
  <style:style style:name="Zeile" style:family="table-row"><style:table-row-properties style:row-height="0.45cm" style:use-optimal-row-height="false"/></style:style>
  <style:style style:name="Luft" style:family="table-row"><style:table-row-properties style:row-height="1.2cm" style:use-optimal-row-height="false"/></style:style>
  <style:style style:name="Absender" style:family="table-cell"><style:text-properties fo:font-size="7pt" style:text-underline-style="solid" style:text-underline-width="auto" style:text-underline-color="font-color"/></style:style>
  <style:style style:name="Name" style:family="table-cell"><style:text-properties fo:font-size="11pt" fo:font-weight="bold"/></style:style>
  <style:style style:name="Klein" style:family="table-cell"><style:text-properties fo:font-size="8pt"/></style:style>
  <style:page-layout style:name="Etikettenbogen">
   <style:page-layout-properties fo:page-width="21cm" fo:page-height="29.7cm" fo:margin-top="1.5cm"
    fo:margin-bottom="0.5cm" fo:margin-left="0.6cm" fo:margin-right="0.5cm" style:print="" style:print-page-order="ttb"/>
   <style:header-style/><style:footer-style/>
  </style:page-layout>
  <style:style style:name="Bogen" style:family="table" style:master-page-name="Etiketten">
   <style:table-properties table:display="true"/>
  </style:style>
 </office:automatic-styles>
 <office:master-styles>
  <style:master-page style:name="Etiketten" style:page-layout-name="Etikettenbogen">
   <style:header style:display="false"/><style:footer style:display="false"/>
  </style:master-page>
 </office:master-styles>
 <office:body><office:spreadsheet>
  <table:table table:name="Etiketten" table:style-name="Bogen" table:print-ranges="Etiketten.A1:Etiketten.B6">
   <table:table-column table:style-name="Rand"/>
   <table:table-column table:style-name="Text"/>
   <table:table-row table:style-name="Zeile"><table:table-cell table:style-name="Absender" office:value-type="string" table:number-columns-spanned="2"><text:p>TSV Musterstadt · Hauptstr. 1 · <<Function:Date>></text:p></table:table-cell><table:covered-table-cell/></table:table-row>
   <table:table-row table:style-name="Zeile"><table:table-cell/><table:table-cell table:style-name="Name" office:value-type="string"><text:p><<Kontoinhaber>></text:p></table:table-cell></table:table-row>
   <table:table-row table:style-name="Zeile"><table:table-cell/><table:table-cell office:value-type="string"><text:p>Mitglied: <<Mitglied>></text:p></table:table-cell></table:table-row>
   <table:table-row table:style-name="Zeile"><table:table-cell/><table:table-cell table:style-name="Klein" office:value-type="string"><text:p><<IBAN>></text:p></table:table-cell></table:table-row>
   <table:table-row table:style-name="Zeile"><table:table-cell/><table:table-cell table:style-name="Klein" office:value-type="string"><text:p>Etikett <<Function:LfdNr>> · <<Verein>></text:p></table:table-cell></table:table-row>
   <table:table-row table:style-name="Luft"><table:table-cell/><table:table-cell/></table:table-row>
  </table:table>
  <table:table table:name="Settings">
   <table:table-row>
    <table:table-cell office:value-type="string"><text:p>Definition</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>Zeilen je Etikett</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>Spalten je Etikett</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>nebeneinander</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>Etikettenzeilen je Seite</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>erste Position</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>Reihenfolge (1 = spaltenweise)</text:p></table:table-cell>
    <table:table-cell table:number-columns-repeated="6"/>
    <table:table-cell office:value-type="string"><text:p>Zeilenhöhen (Punkt)</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>Spaltenbreiten (Zeichen)</text:p></table:table-cell>
   </table:table-row>
   <table:table-row>
    <table:table-cell office:value-type="string"><text:p>Adressetiketten</text:p></table:table-cell>
    <table:table-cell office:value-type="float" office:value="6"><text:p>6</text:p></table:table-cell>
    <table:table-cell office:value-type="float" office:value="2"><text:p>2</text:p></table:table-cell>
    <table:table-cell office:value-type="float" office:value="3"><text:p>3</text:p></table:table-cell>
    <table:table-cell office:value-type="float" office:value="7"><text:p>7</text:p></table:table-cell>
    <table:table-cell office:value-type="float" office:value="1"><text:p>1</text:p></table:table-cell>
    <table:table-cell office:value-type="float" office:value="0"><text:p>0</text:p></table:table-cell>
    <table:table-cell table:number-columns-repeated="6"/>
    <table:table-cell office:value-type="string"><text:p>13;15;13;13;13;41</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>2;31,5</text:p></table:table-cell>
   </table:table-row>
  </table:table>
 </office:spreadsheet></office:body>
</office:document>
EOF
}

# A membership card without a "Settings" sheet: one workbook per member, with the logo box.
card() {
  document_head spreadsheet
  cat <<EOF
 <office:body><office:spreadsheet>
  <table:table table:name="Ausweis">
   <table:table-row><table:table-cell office:value-type="string"><text:p>Mitgliedsausweis <<Verein>></text:p></table:table-cell>
    <table:table-cell><draw:frame draw:name="Vereinslogo" svg:width="2.1cm" svg:height="2.8cm" svg:x="0.5cm" svg:y="0.1cm"
     table:end-cell-address="Ausweis.C6" table:end-x="0.5cm" table:end-y="0.2cm" draw:z-index="0">
     <draw:image><office:binary-data>$box</office:binary-data></draw:image></draw:frame></table:table-cell></table:table-row>
   <table:table-row><table:table-cell office:value-type="string"><text:p><<Kontoinhaber>></text:p></table:table-cell></table:table-row>
   <table:table-row><table:table-cell office:value-type="string"><text:p>Nr. <<Nr>></text:p></table:table-cell></table:table-row>
  </table:table>
 </office:spreadsheet></office:body>
</office:document>
EOF
}

# Placeholders are written plainly above and escaped for XML here.
escape() { sed -e 's/<</\&lt;\&lt;/g' -e 's/>>/\&gt;\&gt;/g'; }
letter 1 | escape >"$work/Beitragsbescheid.fodt"
letter 2 | escape >"$work/Zweiseiter.fodt"
labels | escape >"$work/Adressetiketten.fods"
card | escape >"$work/Mitgliedsausweis.fods"
profile="-env:UserInstallation=file://$work/profile"
soffice --headless --norestore "$profile" --convert-to docx --outdir "$work" \
  "$work/Beitragsbescheid.fodt" "$work/Zweiseiter.fodt" >/dev/null
soffice --headless --norestore "$profile" --convert-to xlsx --outdir "$work" \
  "$work/Adressetiketten.fods" "$work/Mitgliedsausweis.fods" >/dev/null
cp "$work/Beitragsbescheid.docx" "$work/Adressetiketten.xlsx" "$root/examples/club/Vorlagen/"
cp "$work/Beitragsbescheid.docx" "$work/Zweiseiter.docx" "$work/Adressetiketten.xlsx" \
  "$work/Mitgliedsausweis.xlsx" "$root/tests/data/mailmerge/"
echo "Templates written to examples/club/Vorlagen and tests/data/mailmerge"
