<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>Vellaro</name>
    <message>
        <source>Printer setup</source>
        <translation>Configuration de l&apos;imprimante</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Portrait</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Paysage</translation>
    </message>
    <message>
        <source>Printer:</source>
        <translation>Imprimante :</translation>
    </message>
    <message>
        <source>Paper size:</source>
        <translation>Format du papier :</translation>
    </message>
    <message>
        <source>Orientation:</source>
        <translation>Orientation :</translation>
    </message>
    <message>
        <source>Whole page</source>
        <translation>Page entière</translation>
    </message>
    <message>
        <source>Page width</source>
        <translation>Largeur de page</translation>
    </message>
    <message>
        <source>Invalid scale value</source>
        <translation>Valeur de zoom non valide</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimer</translation>
    </message>
    <message>
        <source>Print dialog</source>
        <translation>Boîte de dialogue d&apos;impression</translation>
    </message>
    <message>
        <source>Printer setup dialog</source>
        <translation>Configuration de l&apos;imprimante</translation>
    </message>
    <message>
        <source>First page</source>
        <translation>Première page</translation>
    </message>
    <message>
        <source>Previous page</source>
        <translation>Page précédente</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>Page suivante</translation>
    </message>
    <message>
        <source>Last page</source>
        <translation>Dernière page</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Zoom arrière</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Zoom avant</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualiser</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>This page could not be drawn: %1</source>
        <translation>Cette page n&apos;a pas pu être dessinée : %1</translation>
    </message>
    <message>
        <source>Whole page (%1%)</source>
        <translation>Page entière (%1 %)</translation>
    </message>
    <message>
        <source>Page width (%1%)</source>
        <translation>Largeur de page (%1 %)</translation>
    </message>
    <message>
        <source>Page %1 from %2</source>
        <translation>Page %1 sur %2</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Printing page %1 of %2</source>
        <translation>Impression de la page %1 sur %2</translation>
    </message>
    <message>
        <source>Printing page %1 (pages %2 to %3)</source>
        <translation>Impression de la page %1 (pages %2 à %3)</translation>
    </message>
    <message>
        <source>View mode and scale</source>
        <translation>Affichage et zoom</translation>
    </message>
    <message>
        <source>Add Print Jobs</source>
        <translation>Ajouter des travaux d&apos;impression</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titre</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Tout sélectionner</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;Add...</source>
        <translation>&amp;Ajouter...</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Vider</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>Monter</translation>
    </message>
    <message>
        <source>&amp;Move Down</source>
        <translation>&amp;Descendre</translation>
    </message>
    <message>
        <source>PDF document (*.pdf)</source>
        <translation>Document PDF (*.pdf)</translation>
    </message>
    <message>
        <source>PNG images, one per page (*.png)</source>
        <translation>Images PNG, une par page (*.png)</translation>
    </message>
    <message>
        <source>SVG drawings, one per page (*.svg)</source>
        <translation>Dessins SVG, un par page (*.svg)</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>Enregistrer sous</translation>
    </message>
    <message>
        <source>No matches for &quot;%1&quot;</source>
        <translation>Aucun résultat pour « %1 »</translation>
    </message>
    <message>
        <source>Match %1 of %2</source>
        <translation>Résultat %1 sur %2</translation>
    </message>
    <message>
        <source>No matches for &quot;%1&quot; (search stopped)</source>
        <translation>Aucun résultat pour « %1 » (recherche interrompue)</translation>
    </message>
    <message>
        <source>Match %1 of %2 (search stopped)</source>
        <translation>Résultat %1 sur %2 (recherche interrompue)</translation>
    </message>
    <message>
        <source>Searching page %1 of %2</source>
        <translation>Recherche dans la page %1 sur %2</translation>
    </message>
    <message>
        <source>Page overview</source>
        <translation>Aperçu des pages</translation>
    </message>
    <message>
        <source>Save as PDF, PNG or SVG</source>
        <translation>Enregistrer en PDF, PNG ou SVG</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Match case</source>
        <translation>Respecter la casse</translation>
    </message>
    <message>
        <source>Whole words</source>
        <translation>Mots entiers</translation>
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
        <translation>%1 de la bibliothèque d&apos;impression Vellaro.</translation>
    </message>
    <message>
        <source>%1 of the Vellaro printing library: shown on the form while it is designed, hidden at run time.</source>
        <translation>%1 de la bibliothèque d&apos;impression Vellaro : visible sur le formulaire pendant la conception, masqué à l&apos;exécution.</translation>
    </message>
</context>
</TS>
