<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Vellaro</name>
    <message>
        <source>Printer setup</source>
        <translation>Druckereinrichtung</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Hochformat</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Querformat</translation>
    </message>
    <message>
        <source>Printer:</source>
        <translation>Drucker:</translation>
    </message>
    <message>
        <source>Paper size:</source>
        <translation>Papierformat:</translation>
    </message>
    <message>
        <source>Orientation:</source>
        <translation>Ausrichtung:</translation>
    </message>
    <message>
        <source>Whole page</source>
        <translation>Ganze Seite</translation>
    </message>
    <message>
        <source>Page width</source>
        <translation>Seitenbreite</translation>
    </message>
    <message>
        <source>Invalid scale value</source>
        <translation>Ungültiger Zoomwert</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Print dialog</source>
        <translation>Druckdialog</translation>
    </message>
    <message>
        <source>Printer setup dialog</source>
        <translation>Druckereinrichtung</translation>
    </message>
    <message>
        <source>First page</source>
        <translation>Erste Seite</translation>
    </message>
    <message>
        <source>Previous page</source>
        <translation>Vorherige Seite</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>Nächste Seite</translation>
    </message>
    <message>
        <source>Last page</source>
        <translation>Letzte Seite</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>This page could not be drawn: %1</source>
        <translation>Diese Seite konnte nicht gezeichnet werden: %1</translation>
    </message>
    <message>
        <source>Whole page (%1%)</source>
        <translation>Ganze Seite (%1 %)</translation>
    </message>
    <message>
        <source>Page width (%1%)</source>
        <translation>Seitenbreite (%1 %)</translation>
    </message>
    <message>
        <source>Page %1 from %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Printing page %1 of %2</source>
        <translation>Drucke Seite %1 von %2</translation>
    </message>
    <message>
        <source>Printing page %1 (pages %2 to %3)</source>
        <translation>Drucke Seite %1 (Seiten %2 bis %3)</translation>
    </message>
    <message>
        <source>View mode and scale</source>
        <translation>Ansicht und Zoom</translation>
    </message>
    <message>
        <source>Add Print Jobs</source>
        <translation>Druckaufträge hinzufügen</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Alle auswählen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;Add...</source>
        <translation>&amp;Hinzufügen...</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>Alle &amp;entfernen</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>&amp;Move Down</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>PDF document (*.pdf)</source>
        <translation>PDF-Dokument (*.pdf)</translation>
    </message>
    <message>
        <source>PNG images, one per page (*.png)</source>
        <translation>PNG-Bilder, eines je Seite (*.png)</translation>
    </message>
    <message>
        <source>SVG drawings, one per page (*.svg)</source>
        <translation>SVG-Zeichnungen, eine je Seite (*.svg)</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>No matches for &quot;%1&quot;</source>
        <translation>Keine Treffer für „%1“</translation>
    </message>
    <message>
        <source>Match %1 of %2</source>
        <translation>Treffer %1 von %2</translation>
    </message>
    <message>
        <source>No matches for &quot;%1&quot; (search stopped)</source>
        <translation>Keine Treffer für „%1“ (Suche abgebrochen)</translation>
    </message>
    <message>
        <source>Match %1 of %2 (search stopped)</source>
        <translation>Treffer %1 von %2 (Suche abgebrochen)</translation>
    </message>
    <message>
        <source>Searching page %1 of %2</source>
        <translation>Durchsuche Seite %1 von %2</translation>
    </message>
    <message>
        <source>Page overview</source>
        <translation>Seitenübersicht</translation>
    </message>
    <message>
        <source>Save as PDF, PNG or SVG</source>
        <translation>Als PDF, PNG oder SVG speichern</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Match case</source>
        <translation>Groß-/Kleinschreibung</translation>
    </message>
    <message>
        <source>Whole words</source>
        <translation>Ganze Wörter</translation>
    </message>
</context>
<context>
    <name>Vellaro::TComponentTaskMenu</name>
    <message>
        <source>Vellaro</source>
        <translation>Vellaro</translation>
    </message>
</context>
<context>
    <name>Vellaro::TVellaroWidget</name>
    <message>
        <source>%1 of the Vellaro printing library.</source>
        <translation>%1 der Vellaro-Druckbibliothek.</translation>
    </message>
    <message>
        <source>%1 of the Vellaro printing library: shown on the form while it is designed, hidden at run time.</source>
        <translation>%1 der Vellaro-Druckbibliothek: beim Entwurf auf dem Formular sichtbar, zur Laufzeit verborgen.</translation>
    </message>
</context>
</TS>
