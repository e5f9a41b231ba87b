<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>QObject</name>
    <message>
        <source>&amp;Go to Line %1</source>
        <translation>Zu &amp;Zeile %1</translation>
    </message>
</context>
<context>
    <name>host::AboutDialog</name>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Handbook</source>
        <translation>&amp;Handbuch</translation>
    </message>
    <message>
        <source>The handbook could not be shown: no program of the desktop opens web pages. Open %1 in a web browser.</source>
        <translation>Das Handbuch konnte nicht angezeigt werden: Kein Programm des Desktops öffnet Webseiten. Öffnen Sie %1 in einem Webbrowser.</translation>
    </message>
    <message>
        <source>The handbook is not installed (there is no %1). Install the program again to bring it back.</source>
        <translation>Das Handbuch ist nicht installiert (%1 fehlt). Installieren Sie das Programm erneut, um es zurückzuholen.</translation>
    </message>
    <message>
        <source>&amp;About PageHost</source>
        <translation>&amp;Über PageHost</translation>
    </message>
    <message>
        <source>About PageHost</source>
        <translation>Über PageHost</translation>
    </message>
    <message>
        <source>installed in %1</source>
        <translation>installiert in %1</translation>
    </message>
    <message>
        <source>not installed with this build; the Form Check says so</source>
        <translation>mit diesem Build nicht installiert; die Formularprüfung sagt es</translation>
    </message>
    <message>
        <source>A web page editor that shows each page&apos;s source beside the page as a browser renders it, with the Ostrel add-in that puts a mailing-list sign-up form into pages.</source>
        <translation>Ein Webseiten-Editor, der den Quelltext jeder Seite neben der Seite zeigt, wie ein Browser sie darstellt, mit dem Ostrel-Add-in, das ein Anmeldeformular für eine Mailingliste in Seiten einfügt.</translation>
    </message>
    <message>
        <source>Copyright 2026 The OstrelPlugin developers. PageHost and the Ostrel add-in are free software under the MIT licence.</source>
        <translation>Copyright 2026 Die Entwickler von OstrelPlugin. PageHost und das Ostrel-Add-in sind freie Software unter der MIT-Lizenz.</translation>
    </message>
    <message>
        <source>Bundled with it:</source>
        <translation>Mitgeliefert:</translation>
    </message>
    <message>
        <source>axe-core %1, the accessibility rules of the Form Check (%2): Mozilla Public License 2.0 (MPL-2.0), see %3. The code it bundles is under the MIT and ISC licences, listed in %4.</source>
        <translation>axe-core %1, die Barrierefreiheitsregeln der Formularprüfung (%2): Mozilla Public License 2.0 (MPL-2.0), siehe %3. Der darin enthaltene Code steht unter der MIT- und der ISC-Lizenz, aufgeführt in %4.</translation>
    </message>
    <message>
        <source>It runs on Qt %1 (LGPL-3.0) and reads pages with gumbo (Apache-2.0), both from the system; the rendered view is Qt WebEngine&apos;s Chromium.</source>
        <translation>Es läuft mit Qt %1 (LGPL-3.0) und liest Seiten mit gumbo (Apache-2.0), beide vom System; die Seitendarstellung ist das Chromium von Qt WebEngine.</translation>
    </message>
</context>
<context>
    <name>host::AddInsDialog</name>
    <message>
        <source>Add-ins</source>
        <translation>Add-ins</translation>
    </message>
    <message>
        <source>Add-in</source>
        <translation>Add-in</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Registered for</source>
        <translation>Registriert für</translation>
    </message>
    <message>
        <source>Module</source>
        <translation>Modul</translation>
    </message>
    <message>
        <source>Last load failure</source>
        <translation>Letzter Ladefehler</translation>
    </message>
    <message>
        <source>A checked add-in is loaded now and whenever the editor starts.</source>
        <translation>Ein angekreuztes Add-in wird jetzt und bei jedem Start des Editors geladen.</translation>
    </message>
    <message>
        <source>&amp;Add...</source>
        <translation>&amp;Hinzufügen...</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Registering %1...</source>
        <translation>%1 wird registriert...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Stopping the registration...</source>
        <translation>Die Registrierung wird angehalten...</translation>
    </message>
    <message>
        <source>all users</source>
        <translation>alle Benutzer</translation>
    </message>
    <message>
        <source>this user</source>
        <translation>diesen Benutzer</translation>
    </message>
    <message>
        <source>The choice could not be remembered for the next start: %1</source>
        <translation>Die Auswahl konnte für den nächsten Start nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Standard output:
%1
</source>
        <translation>Standardausgabe:
%1
</translation>
    </message>
    <message>
        <source>Standard error:
%1</source>
        <translation>Standardfehlerausgabe:
%1</translation>
    </message>
    <message>
        <source>The module %1 was not added.

%2</source>
        <translation>Das Modul %1 wurde nicht hinzugefügt.

%2</translation>
    </message>
    <message>
        <source>Remove the add-in &quot;%1&quot;? Its registration records are deleted without running any of its code; the module file stays.</source>
        <translation>Das Add-in „%1“ entfernen? Seine Registrierungseinträge werden gelöscht, ohne dass Code des Add-ins ausgeführt wird; die Moduldatei bleibt.</translation>
    </message>
    <message>
        <source>The add-in could not be removed: %1</source>
        <translation>Das Add-in konnte nicht entfernt werden: %1</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>&amp;Add-ins...</source>
        <translation>&amp;Add-ins...</translation>
    </message>
    <message>
        <source>starting up</source>
        <translation>Starten</translation>
    </message>
    <message>
        <source>shutting down</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>running its </source>
        <translation>Ausführen von </translation>
    </message>
    <message>
        <source>has been %1 for %2 seconds in another run of the editor (process %3) and seems to hang; end that process yourself</source>
        <translation>steckt seit %2 Sekunden in einem anderen Lauf des Editors (Prozess %3) beim %1 fest und scheint zu hängen; beenden Sie diesen Prozess selbst</translation>
    </message>
    <message>
        <source>did not finish %1 last time: the editor crashed, was killed or stopped responding</source>
        <translation>hat das %1 beim letzten Mal nicht abgeschlossen: Der Editor ist abgestürzt, wurde beendet oder reagierte nicht mehr</translation>
    </message>
    <message>
        <source>The add-in %1 (class %2) %3.

It has no registration record to disable; if it was named on the command line, leave it out there.</source>
        <translation>Das Add-in %1 (Klasse %2) %3.

Es hat keinen Registrierungseintrag, der sich deaktivieren ließe; wurde es auf der Befehlszeile genannt, lassen Sie es dort weg.</translation>
    </message>
    <message>
        <source>The add-in &quot;%1&quot; (%2) %3.

Disable &quot;%1&quot;? It stays registered, and Tools &gt; Add-ins... turns it on again.</source>
        <translation>Das Add-in „%1“ (%2) %3.

„%1“ deaktivieren? Es bleibt registriert, und Extras &gt; Add-ins... schaltet es wieder ein.</translation>
    </message>
    <message>
        <source>; disabled</source>
        <translation>; deaktiviert</translation>
    </message>
    <message>
        <source>The add-in &quot;%1&quot; could not be disabled: %2</source>
        <translation>Das Add-in „%1“ konnte nicht deaktiviert werden: %2</translation>
    </message>
    <message>
        <source>Not loaded: %1</source>
        <translation>Nicht geladen: %1</translation>
    </message>
    <message>
        <source>The add-in &quot;%1&quot; is registered for all users of this computer, by a record file in %2 or %3, which only an administrator changes (ostrel-regsvr --machine --remove-records MODULE, or removing the package that installed it).

To keep it from loading for you, clear its check box.</source>
        <translation>Das Add-in „%1“ ist für alle Benutzer dieses Computers registriert, durch eine Registrierungsdatei in %2 oder %3, die nur ein Administrator ändert (ostrel-regsvr --machine --remove-records MODULE oder durch Entfernen des Pakets, das es installiert hat).

Damit es für Sie nicht geladen wird, entfernen Sie sein Häkchen.</translation>
    </message>
</context>
<context>
    <name>host::EditorSession</name>
    <message>
        <source>The add-in %1 (class %2) was not loaded: %3</source>
        <translation>Das Add-in %1 (Klasse %2) wurde nicht geladen: %3</translation>
    </message>
</context>
<context>
    <name>host::EditorTab</name>
    <message>
        <source>the rendered page is hidden (View &gt; Rendered Page shows it)</source>
        <translation>die dargestellte Seite ist ausgeblendet (Ansicht &gt; Dargestellte Seite zeigt sie)</translation>
    </message>
    <message>
        <source>the rendered view does not show this page (its side says why)</source>
        <translation>die Seitendarstellung zeigt diese Seite nicht (ihre Seite sagt, warum)</translation>
    </message>
</context>
<context>
    <name>host::EditorWindow</name>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Öffnen...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Open Page</source>
        <translation>Seite öffnen</translation>
    </message>
    <message>
        <source>%1 was not opened: there was not enough memory to show it. The file was not changed, and the other pages stay as they are. Close other pages or programs and try again.</source>
        <translation>%1 wurde nicht geöffnet: Es war nicht genug Speicher frei, um die Seite anzuzeigen. Die Datei wurde nicht geändert, und die anderen Seiten bleiben, wie sie sind. Schließen Sie andere Seiten oder Programme und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Untitled %1</source>
        <translation>Unbenannt %1</translation>
    </message>
    <message>
        <source>Save Page</source>
        <translation>Seite speichern</translation>
    </message>
    <message>
        <source>Save the changes to %1 before closing it?</source>
        <translation>Die Änderungen an %1 vor dem Schließen speichern?</translation>
    </message>
    <message>
        <source>Save the changes to %1 before quitting?</source>
        <translation>Die Änderungen an %1 vor dem Beenden speichern?</translation>
    </message>
    <message>
        <source>An add-in failed while handling a click.

Error number: %1
Error description: %2
Error source: %3</source>
        <translation>Ein Add-in ist bei der Verarbeitung eines Klicks gescheitert.

Fehlernummer: %1
Fehlerbeschreibung: %2
Fehlerquelle: %3</translation>
    </message>
    <message>
        <source>Safe Mode</source>
        <translation>Abgesicherter Modus</translation>
    </message>
    <message>
        <source>Safe mode: no add-in is loaded</source>
        <translation>Abgesicherter Modus: Kein Add-in ist geladen</translation>
    </message>
    <message>
        <source>Add Add-in</source>
        <translation>Add-in hinzufügen</translation>
    </message>
    <message>
        <source>Add-in modules (*.so);;All files (*)</source>
        <translation>Add-in-Module (*.so);;Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>host::FileDialogService</name>
    <message>
        <source>HTML pages (*.html *.htm);;All files (*)</source>
        <translation>HTML-Seiten (*.html *.htm);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Open Page</source>
        <translation>Seite öffnen</translation>
    </message>
    <message>
        <source>Save Page As</source>
        <translation>Seite speichern unter</translation>
    </message>
</context>
<context>
    <name>host::FindBar</name>
    <message>
        <source>Fi&amp;nd:</source>
        <translation>&amp;Suchen:</translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation>&amp;Vorheriges</translation>
    </message>
    <message>
        <source>Ne&amp;xt</source>
        <translation>&amp;Nächstes</translation>
    </message>
    <message>
        <source>&amp;Match case</source>
        <translation>&amp;Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Close the find bar</source>
        <translation>Die Suchleiste schließen</translation>
    </message>
    <message>
        <source>Close (Escape)</source>
        <translation>Schließen (Esc)</translation>
    </message>
    <message>
        <source>Replace &amp;with:</source>
        <translation>Ersetzen &amp;durch:</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Ersetzen</translation>
    </message>
    <message>
        <source>Replace &amp;All</source>
        <translation>&amp;Alle ersetzen</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Nicht gefunden</translation>
    </message>
    <message>
        <source>Wrapped around</source>
        <translation>Am Anfang fortgesetzt</translation>
    </message>
    <message numerus="yes">
        <source>Replaced %n</source>
        <translation>
            <numerusform>%n ersetzt</numerusform>
            <numerusform>%n ersetzt</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>host::FormCheckPanel</name>
    <message>
        <source>error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>note</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>The check did not run: there was not enough memory to copy the page.</source>
        <translation>Die Prüfung lief nicht: Es war nicht genug Speicher frei, um die Seite zu kopieren.</translation>
    </message>
    <message>
        <source>Close other pages or programs and check again.</source>
        <translation>Schließen Sie andere Seiten oder Programme und prüfen Sie erneut.</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>Sign-up Form Check</source>
        <translation>Prüfung des Anmeldeformulars</translation>
    </message>
    <message>
        <source>Check Sign-up &amp;Form</source>
        <translation>Anmelde&amp;formular prüfen</translation>
    </message>
    <message>
        <source>Severity</source>
        <translation>Schwere</translation>
    </message>
    <message>
        <source>Where</source>
        <translation>Wo</translation>
    </message>
    <message>
        <source>What is wrong</source>
        <translation>Was falsch ist</translation>
    </message>
    <message>
        <source>What to do</source>
        <translation>Was zu tun ist</translation>
    </message>
    <message>
        <source>Form Check findings</source>
        <translation>Befunde der Formularprüfung</translation>
    </message>
    <message>
        <source>Checks the page&apos;s sign-up form: accessibility, transport, content policy, thank-you page and template</source>
        <translation>Prüft das Anmeldeformular der Seite: Barrierefreiheit, Übertragung, Inhaltsrichtlinie, Dankeseite und Vorlage</translation>
    </message>
    <message>
        <source>the page has no view</source>
        <translation>die Seite hat keine Ansicht</translation>
    </message>
    <message>
        <source>This page has not been checked. Tools &gt; Check Sign-up Form checks it.</source>
        <translation>Diese Seite wurde nicht geprüft. Extras &gt; Anmeldeformular prüfen prüft sie.</translation>
    </message>
    <message>
        <source>Line %1, column %2: Enter or a double click goes there in the source</source>
        <translation>Zeile %1, Spalte %2: Eingabetaste oder Doppelklick springt dorthin im Quelltext</translation>
    </message>
    <message>
        <source>no problem found</source>
        <translation>kein Problem gefunden</translation>
    </message>
    <message>
        <source>%1, %2, %3</source>
        <translation>%1, %2, %3</translation>
    </message>
    <message>
        <source>1 error</source>
        <translation>1 Fehler</translation>
    </message>
    <message>
        <source>%1 errors</source>
        <translation>%1 Fehler</translation>
    </message>
    <message>
        <source>1 warning</source>
        <translation>1 Warnung</translation>
    </message>
    <message>
        <source>%1 warnings</source>
        <translation>%1 Warnungen</translation>
    </message>
    <message>
        <source>1 note</source>
        <translation>1 Hinweis</translation>
    </message>
    <message>
        <source>%1 notes</source>
        <translation>%1 Hinweise</translation>
    </message>
    <message>
        <source>Sign-up form of %1: %2%3.</source>
        <translation>Anmeldeformular von %1: %2%3.</translation>
    </message>
    <message>
        <source> so far</source>
        <translation> bisher</translation>
    </message>
    <message>
        <source>The accessibility audit of the rendered form is running...</source>
        <translation>Die Barrierefreiheitsprüfung des dargestellten Formulars läuft...</translation>
    </message>
    <message>
        <source>The accessibility audit did not run: %1. The other checks ran.</source>
        <translation>Die Barrierefreiheitsprüfung lief nicht: %1. Die anderen Prüfungen liefen.</translation>
    </message>
    <message>
        <source>accessibility</source>
        <translation>Barrierefreiheit</translation>
    </message>
    <message>
        <source>transport</source>
        <translation>Übertragung</translation>
    </message>
    <message>
        <source>content policy</source>
        <translation>Inhaltsrichtlinie</translation>
    </message>
    <message>
        <source>thank-you page</source>
        <translation>Dankeseite</translation>
    </message>
    <message>
        <source>template and entries</source>
        <translation>Vorlage und Eingaben</translation>
    </message>
    <message>
        <source>rehearsal</source>
        <translation>Probelauf</translation>
    </message>
    <message>
        <source>the rendered page is hidden (View &gt; Rendered Page shows it)</source>
        <translation>die dargestellte Seite ist ausgeblendet (Ansicht &gt; Dargestellte Seite zeigt sie)</translation>
    </message>
    <message>
        <source>The rehearsal (the form filled in and sent in the rendered page&apos;s engine, as a visitor would) is running...</source>
        <translation>Der Probelauf (das Formular ausgefüllt und in der Engine der dargestellten Seite abgeschickt, wie ein Besucher es täte) läuft...</translation>
    </message>
    <message>
        <source>Rehearsal:
%1</source>
        <translation>Probelauf:
%1</translation>
    </message>
</context>
<context>
    <name>host::FormTrialDialog</name>
    <message>
        <source>(not known: the form is inside a frame)</source>
        <translation>(nicht bekannt: das Formular steht in einem Frame)</translation>
    </message>
    <message>
        <source>The page&apos;s Content-Security-Policy blocks this submission: its directive &quot;%1&quot; does not allow %2. A browser sends nothing, and visitors who sign up are never added. Add the form&apos;s address (or its origin) to form-action in the policy, or take the policy out of the page.</source>
        <translation>Die Content-Security-Policy der Seite blockiert dieses Absenden: Ihre Direktive „%1“ erlaubt %2 nicht. Ein Browser sendet nichts, und Besucher, die sich anmelden, werden nie eingetragen. Nehmen Sie die Adresse des Formulars (oder seinen Ursprung) in form-action der Richtlinie auf, oder nehmen Sie die Richtlinie aus der Seite.</translation>
    </message>
    <message>
        <source>the form&apos;s address</source>
        <translation>die Adresse des Formulars</translation>
    </message>
    <message>
        <source>Method: %1
Address: %2
</source>
        <translation>Methode: %1
Adresse: %2
</translation>
    </message>
    <message>
        <source>Blocked by: %1
</source>
        <translation>Blockiert durch: %1
</translation>
    </message>
    <message>
        <source>Encoding: %1
</source>
        <translation>Kodierung: %1
</translation>
    </message>
    <message>
        <source>Request: %1
</source>
        <translation>Anfrage: %1
</translation>
    </message>
    <message>
        <source>Fields:
</source>
        <translation>Felder:
</translation>
    </message>
    <message>
        <source>1 more submission came while this was open; it is not shown.</source>
        <translation>1 weiteres Absenden kam, während dies offen war; es wird nicht gezeigt.</translation>
    </message>
    <message>
        <source>%1 more submissions came while this was open; they are not shown.</source>
        <translation>%1 weitere Absendungen kamen, während dies offen war; sie werden nicht gezeigt.</translation>
    </message>
    <message>
        <source> View &gt; Run Page Scripts stops a page that submits on its own.</source>
        <translation> Ansicht &gt; Skripte der Seite ausführen hält eine Seite an, die von selbst absendet.</translation>
    </message>
    <message>
        <source>Try the Form - blocked by the page&apos;s content policy</source>
        <translation>Formular ausprobieren - blockiert durch die Inhaltsrichtlinie der Seite</translation>
    </message>
    <message>
        <source>Try the Form - nothing was sent</source>
        <translation>Formular ausprobieren - nichts wurde gesendet</translation>
    </message>
    <message>
        <source>Were it allowed, submitting this form would send the following. Nothing was sent.</source>
        <translation>Wäre es erlaubt, würde das Absenden dieses Formulars Folgendes senden. Nichts wurde gesendet.</translation>
    </message>
    <message>
        <source>Submitting this form would send the following. Nothing was sent.</source>
        <translation>Das Absenden dieses Formulars würde Folgendes senden. Nichts wurde gesendet.</translation>
    </message>
    <message>
        <source>Method:</source>
        <translation>Methode:</translation>
    </message>
    <message>
        <source>Address:</source>
        <translation>Adresse:</translation>
    </message>
    <message>
        <source>Encoding:</source>
        <translation>Kodierung:</translation>
    </message>
    <message>
        <source>Request:</source>
        <translation>Anfrage:</translation>
    </message>
    <message>
        <source>Field</source>
        <translation>Feld</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>&amp;Copy All</source>
        <translation>Alles &amp;kopieren</translation>
    </message>
</context>
<context>
    <name>host::MessageBoxService</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Überschreiben</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>Neu laden</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Speichern unter...</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Go to</source>
        <translation>Gehe zu</translation>
    </message>
</context>
<context>
    <name>host::OutsideResourcesLabel</name>
    <message>
        <source>The rendered page loads only files from the page&apos;s own folder, up to 64 MB each; addresses elsewhere, connections its scripts ask for and larger files are not fetched.</source>
        <translation>Die dargestellte Seite lädt nur Dateien aus dem eigenen Ordner der Seite, jeweils bis 64 MB; Adressen anderswo, Verbindungen, die ihre Skripte anfordern, und größere Dateien werden nicht geholt.</translation>
    </message>
    <message>
        <source>1 outside resource not loaded</source>
        <translation>1 externe Ressource nicht geladen</translation>
    </message>
    <message>
        <source>%1 outside resources not loaded</source>
        <translation>%1 externe Ressourcen nicht geladen</translation>
    </message>
</context>
<context>
    <name>host::Page</name>
    <message>
        <source>U+%1 on line %2</source>
        <translation>U+%1 in Zeile %2</translation>
    </message>
    <message>
        <source> MB</source>
        <translation> MB</translation>
    </message>
    <message>
        <source>%1 (%2) is too large to open: holding and rendering it takes about %3 of memory, and %4 is free. The file was not changed, and the other pages stay as they are. Close other programs and try again, or split the page into smaller ones.</source>
        <translation>%1 (%2) ist zu groß zum Öffnen: Die Seite zu halten und darzustellen braucht etwa %3 Speicher, und %4 sind frei. Die Datei wurde nicht geändert, und die anderen Seiten bleiben, wie sie sind. Schließen Sie andere Programme und versuchen Sie es erneut, oder teilen Sie die Seite in kleinere auf.</translation>
    </message>
    <message>
        <source>%1 (%2) is too large to open: the editor holds pages of up to %3. The file was not changed.</source>
        <translation>%1 (%2) ist zu groß zum Öffnen: Der Editor hält Seiten bis %3. Die Datei wurde nicht geändert.</translation>
    </message>
    <message>
        <source>%1 (%2) was not opened: memory ran out while reading it (holding and rendering it takes about %3). The file was not changed, and the other pages stay as they are. Close other pages or programs and try again, or split the page into smaller ones.</source>
        <translation>%1 (%2) wurde nicht geöffnet: Beim Lesen ging der Speicher aus (die Seite zu halten und darzustellen braucht etwa %3). Die Datei wurde nicht geändert, und die anderen Seiten bleiben, wie sie sind. Schließen Sie andere Seiten oder Programme und versuchen Sie es erneut, oder teilen Sie die Seite in kleinere auf.</translation>
    </message>
    <message>
        <source>The editor cannot read %1: %2. Convert it to UTF-8 (and its &lt;meta charset&gt; with it) in another program to edit it here.</source>
        <translation>Der Editor kann %1 nicht lesen: %2. Wandeln Sie die Seite in einem anderen Programm in UTF-8 um (und ihr &lt;meta charset&gt; mit), um sie hier zu bearbeiten.</translation>
    </message>
    <message>
        <source>%1 %2; it is open read-only so that saving cannot change it.</source>
        <translation>%1 %2; die Seite ist schreibgeschützt geöffnet, damit Speichern sie nicht ändern kann.</translation>
    </message>
    <message>
        <source>%1 holds a character that the editor cannot keep as it is (%2); it is open read-only so that saving cannot change it.</source>
        <translation>%1 enthält ein Zeichen, das der Editor nicht unverändert halten kann (%2); die Seite ist schreibgeschützt geöffnet, damit Speichern sie nicht ändern kann.</translation>
    </message>
    <message>
        <source>%1 has no file name yet</source>
        <translation>%1 hat noch keinen Dateinamen</translation>
    </message>
    <message>
        <source>%1 was not saved: %2. Declare an encoding the editor can write, such as UTF-8, and save again.</source>
        <translation>%1 wurde nicht gespeichert: %2. Geben Sie eine Kodierung an, die der Editor schreiben kann, etwa UTF-8, und speichern Sie erneut.</translation>
    </message>
    <message>
        <source>%1 was not saved. %2. Replace it (for example with a character reference such as &amp;#%3;) and save again.</source>
        <translation>%1 wurde nicht gespeichert. %2. Ersetzen Sie es (zum Beispiel durch eine Zeichenreferenz wie &amp;#%3;) und speichern Sie erneut.</translation>
    </message>
    <message>
        <source>The editor cannot read %1: %2.</source>
        <translation>Der Editor kann %1 nicht lesen: %2.</translation>
    </message>
</context>
<context>
    <name>host::PageDiskWatch</name>
    <message>
        <source>%1 has been deleted, moved or made unreadable on disk. The editor keeps the page open; saving it writes the file again.</source>
        <translation>%1 wurde auf dem Datenträger gelöscht, verschoben oder unlesbar gemacht. Der Editor hält die Seite offen; Speichern schreibt die Datei erneut.</translation>
    </message>
    <message>
        <source>%1 has been changed on disk by another program, and the editor holds unsaved changes to it. When you save, the editor will ask whether to overwrite the file, reload it or save under another name.</source>
        <translation>%1 wurde auf dem Datenträger von einem anderen Programm geändert, und der Editor hält ungespeicherte Änderungen daran. Beim Speichern fragt der Editor, ob die Datei überschrieben, neu geladen oder unter einem anderen Namen gespeichert werden soll.</translation>
    </message>
    <message>
        <source>%1 has been changed on disk by another program. Reload it?</source>
        <translation>%1 wurde auf dem Datenträger von einem anderen Programm geändert. Neu laden?</translation>
    </message>
    <message>
        <source>%1 has been deleted or moved since the editor opened or last saved it. Save it there again?</source>
        <translation>%1 wurde gelöscht oder verschoben, seit der Editor die Seite geöffnet oder zuletzt gespeichert hat. Dort erneut speichern?</translation>
    </message>
    <message>
        <source>%1 has been changed on disk by another program since the editor opened or last saved it.

Overwrite replaces the file with the page as the editor holds it. Reload reads the file again and drops the editor&apos;s changes. Save As writes the page to another file and keeps this one as it is.</source>
        <translation>%1 wurde auf dem Datenträger von einem anderen Programm geändert, seit der Editor die Seite geöffnet oder zuletzt gespeichert hat.

Überschreiben ersetzt die Datei durch die Seite, wie der Editor sie hält. Neu laden liest die Datei erneut und verwirft die Änderungen im Editor. Speichern unter schreibt die Seite in eine andere Datei und lässt diese, wie sie ist.</translation>
    </message>
    <message>
        <source>Reload %1 from disk? The changes you made in the editor will be lost.</source>
        <translation>%1 vom Datenträger neu laden? Ihre Änderungen im Editor gehen verloren.</translation>
    </message>
    <message>
        <source>Reload Page</source>
        <translation>Seite neu laden</translation>
    </message>
</context>
<context>
    <name>host::PageFile</name>
    <message>
        <source>line %1, column %2</source>
        <translation>Zeile %1, Spalte %2</translation>
    </message>
    <message>
        <source>holds bytes that are no text in %1, the encoding it declares (first at %2)</source>
        <translation>enthält Bytes, die in %1, der angegebenen Kodierung, kein Text sind (zuerst bei %2)</translation>
    </message>
    <message>
        <source>holds text that %1, the encoding it declares, does not write back as the same bytes</source>
        <translation>enthält Text, den %1, die angegebene Kodierung, nicht als dieselben Bytes zurückschreibt</translation>
    </message>
    <message>
        <source>ends in half a UTF-16 character</source>
        <translation>endet mit einem halben UTF-16-Zeichen</translation>
    </message>
    <message>
        <source> with BOM</source>
        <translation> mit BOM</translation>
    </message>
    <message>
        <source> (mixed)</source>
        <translation> (gemischt)</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 grew past %2 while it was read; it was not read</source>
        <translation>%1 ist beim Lesen über %2 hinaus gewachsen; die Datei wurde nicht gelesen</translation>
    </message>
    <message>
        <source>it is a symbolic link, which is not followed</source>
        <translation>sie ist ein symbolischer Link, dem nicht gefolgt wird</translation>
    </message>
    <message>
        <source>it is a folder, not a file</source>
        <translation>sie ist ein Ordner, keine Datei</translation>
    </message>
    <message>
        <source>it is a named pipe (FIFO), not a file</source>
        <translation>sie ist eine benannte Pipe (FIFO), keine Datei</translation>
    </message>
    <message>
        <source>it is a device, not a file</source>
        <translation>sie ist ein Gerät, keine Datei</translation>
    </message>
    <message>
        <source>it is a socket, not a file</source>
        <translation>sie ist ein Socket, keine Datei</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>sie ist keine reguläre Datei</translation>
    </message>
    <message>
        <source> (a sparse file, %1 of it on disk)</source>
        <translation> (eine Datei mit Lücken, davon %1 auf der Festplatte)</translation>
    </message>
    <message>
        <source>it is %1%2, larger than the %3 a page may have here</source>
        <translation>sie ist %1%2 groß, mehr als die %3, die eine Seite hier haben darf</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 existiert nicht</translation>
    </message>
    <message>
        <source>; it was not read</source>
        <translation>; sie wurde nicht gelesen</translation>
    </message>
    <message>
        <source>%1 (%2) was not read: there was not enough memory for it. Close other programs and try again</source>
        <translation>%1 (%2) wurde nicht gelesen: Es war nicht genug Speicher dafür frei. Schließen Sie andere Programme und versuchen Sie es erneut</translation>
    </message>
</context>
<context>
    <name>host::PageScriptsLabel</name>
    <message>
        <source>Whether the rendered page runs its scripts: View &gt; Run Page Scripts, for this page while it is open.</source>
        <translation>Ob die dargestellte Seite ihre Skripte ausführt: Ansicht &gt; Skripte der Seite ausführen, für diese Seite, solange sie offen ist.</translation>
    </message>
    <message>
        <source>Scripts on</source>
        <translation>Skripte an</translation>
    </message>
    <message>
        <source>Scripts off</source>
        <translation>Skripte aus</translation>
    </message>
</context>
<context>
    <name>host::PartFocus</name>
    <message>
        <source>Focus S&amp;ource</source>
        <translation>Fokus auf Quell&amp;text</translation>
    </message>
    <message>
        <source>Focus R&amp;endered Page</source>
        <translation>Fokus auf dargestellte S&amp;eite</translation>
    </message>
    <message>
        <source>Focus &amp;Form Check</source>
        <translation>Fokus auf &amp;Formularprüfung</translation>
    </message>
    <message>
        <source>&amp;Next Part</source>
        <translation>&amp;Nächster Bereich</translation>
    </message>
    <message>
        <source>Pre&amp;vious Part</source>
        <translation>&amp;Vorheriger Bereich</translation>
    </message>
</context>
<context>
    <name>host::RegisteredAddIns</name>
    <message>
        <source>The list of add-ins cannot be read: %1</source>
        <translation>Die Liste der Add-ins kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The list of add-ins registered for all users cannot be read: %1</source>
        <translation>Die Liste der für alle Benutzer registrierten Add-ins kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The add-in %1, registered for all users, is not loaded: %2</source>
        <translation>Das Add-in %1, für alle Benutzer registriert, wird nicht geladen: %2</translation>
    </message>
    <message>
        <source> (fix: %1)</source>
        <translation> (Abhilfe: %1)</translation>
    </message>
    <message>
        <source>its record file &quot;%1&quot; could be changed by someone other than root: %2</source>
        <translation>seine Registrierungsdatei „%1“ könnte von jemand anderem als root geändert werden: %2</translation>
    </message>
    <message>
        <source>its module could be replaced by someone other than root: %1</source>
        <translation>sein Modul könnte von jemand anderem als root ersetzt werden: %1</translation>
    </message>
    <message>
        <source>%1 cannot be checked: %2</source>
        <translation>%1 kann nicht geprüft werden: %2</translation>
    </message>
    <message>
        <source>%1 became a link while it was checked</source>
        <translation>%1 wurde während der Prüfung zu einem Link</translation>
    </message>
    <message>
        <source>%1 is owned by %2, not root</source>
        <translation>%1 gehört %2, nicht root</translation>
    </message>
    <message>
        <source>%1 is writable by its group</source>
        <translation>%1 ist für die Gruppe beschreibbar</translation>
    </message>
    <message>
        <source>%1 is writable by every user</source>
        <translation>%1 ist für jeden Benutzer beschreibbar</translation>
    </message>
</context>
<context>
    <name>host::RenderedText</name>
    <message>
        <source> MB</source>
        <translation> MB</translation>
    </message>
    <message>
        <source>This page is not rendered: there was not enough memory to copy it for the rendered view. The source is still editable, and the editor and its other pages are as they were; close other pages or programs, and the page is rendered again after the next edit.</source>
        <translation>Diese Seite wird nicht dargestellt: Es war nicht genug Speicher frei, um sie für die Seitendarstellung zu kopieren. Der Quelltext bleibt bearbeitbar, und der Editor und seine anderen Seiten sind, wie sie waren; schließen Sie andere Seiten oder Programme, und die Seite wird nach der nächsten Änderung wieder dargestellt.</translation>
    </message>
    <message>
        <source>This page is not rendered: it is about %1, and the rendered view shows pages of up to %2 (a browser takes about 100 times a page&apos;s size in memory to show it). The source is still editable, and the page is rendered again once it is smaller.</source>
        <translation>Diese Seite wird nicht dargestellt: Sie ist etwa %1 groß, und die Seitendarstellung zeigt Seiten bis %2 (ein Browser braucht etwa das Hundertfache der Seitengröße an Speicher, um sie zu zeigen). Der Quelltext bleibt bearbeitbar, und die Seite wird wieder dargestellt, sobald sie kleiner ist.</translation>
    </message>
</context>
<context>
    <name>host::RenderedView</name>
    <message>
        <source>This build of the editor has no rendered view: it was built without Qt WebEngine. The page&apos;s source is on the other side.</source>
        <translation>Dieser Build des Editors hat keine Seitendarstellung: Er wurde ohne Qt WebEngine gebaut. Der Quelltext der Seite steht auf der anderen Seite.</translation>
    </message>
    <message>
        <source>The rendered page is not shown: %1</source>
        <translation>Die dargestellte Seite wird nicht gezeigt: %1</translation>
    </message>
    <message>
        <source>The rendered page is not shown: the browser engine needs an address space without a limit, and this program&apos;s is limited to %1 MB (ulimit -v).</source>
        <translation>Die dargestellte Seite wird nicht angezeigt: Die Browser-Engine braucht einen unbegrenzten Adressraum, und der dieses Programms ist auf %1 MB begrenzt (ulimit -v).</translation>
    </message>
</context>
<context>
    <name>host::SessionOfferBar</name>
    <message>
        <source>&amp;Open Them</source>
        <translation>Sie &amp;öffnen</translation>
    </message>
    <message>
        <source>Not Now</source>
        <translation>Nicht jetzt</translation>
    </message>
    <message numerus="yes">
        <source>%1 and %n more</source>
        <translation>
            <numerusform>%1 und %n weitere</numerusform>
            <numerusform>%1 und %n weitere</numerusform>
        </translation>
    </message>
    <message>
        <source>Open the pages of your last session again? %1</source>
        <translation>Die Seiten Ihrer letzten Sitzung wieder öffnen? %1</translation>
    </message>
</context>
<context>
    <name>host::SourceView</name>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Suchen...</translation>
    </message>
    <message>
        <source>R&amp;eplace...</source>
        <translation>&amp;Ersetzen...</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>&amp;Weitersuchen</translation>
    </message>
    <message>
        <source>Find Pre&amp;vious</source>
        <translation>Rückwärts s&amp;uchen</translation>
    </message>
    <message>
        <source>&amp;Go to Line...</source>
        <translation>&amp;Gehe zu Zeile...</translation>
    </message>
    <message>
        <source>Go to Line</source>
        <translation>Gehe zu Zeile</translation>
    </message>
    <message>
        <source>&amp;Line, or line:column (1 to %1):</source>
        <translation>&amp;Zeile oder Zeile:Spalte (1 bis %1):</translation>
    </message>
</context>
<context>
    <name>host::ViewOptions</name>
    <message>
        <source>&amp;Source</source>
        <translation>&amp;Quelltext</translation>
    </message>
    <message>
        <source>&amp;Rendered Page</source>
        <translation>&amp;Dargestellte Seite</translation>
    </message>
    <message>
        <source>Run Page S&amp;cripts</source>
        <translation>S&amp;kripte der Seite ausführen</translation>
    </message>
</context>
<context>
    <name>host::formcheck::FormCheck</name>
    <message>
        <source>the id %1 of this &lt;%2&gt; in the sign-up region is also the id of the &lt;%3&gt; at %4%5</source>
        <translation>die ID %1 dieses &lt;%2&gt; im Anmeldebereich ist auch die ID des &lt;%3&gt; bei %4%5</translation>
    </message>
    <message>
        <source> (%1 elements in all)</source>
        <translation> (%1 Elemente insgesamt)</translation>
    </message>
    <message>
        <source>; labels and references to it reach only the first of them</source>
        <translation>; Beschriftungen und Verweise darauf erreichen nur das erste davon</translation>
    </message>
    <message>
        <source>keep one sign-up region in the page: a second copy of the form repeats every id</source>
        <translation>behalten Sie einen Anmeldebereich in der Seite: Eine zweite Kopie des Formulars wiederholt jede ID</translation>
    </message>
    <message>
        <source>give one of them another id (an id names one element of the page), and change the label&apos;s for= and any reference to it with it</source>
        <translation>geben Sie einem davon eine andere ID (eine ID benennt ein Element der Seite), und ändern Sie das for= der Beschriftung und jeden Verweis darauf mit</translation>
    </message>
    <message>
        <source>the field %1 must be filled in (the form&apos;s required list names it), but nothing tells the visitor: it has no required attribute and %2</source>
        <translation>das Feld %1 muss ausgefüllt werden (die Pflichtliste des Formulars nennt es), aber nichts sagt es dem Besucher: Es hat kein Attribut required und %2</translation>
    </message>
    <message>
        <source>no label</source>
        <translation>keine Beschriftung</translation>
    </message>
    <message>
        <source>its label %1 does not say so</source>
        <translation>seine Beschriftung %1 sagt es nicht</translation>
    </message>
    <message>
        <source>add the attribute required to the field, or mark its label, for example &quot;Your name (required)&quot; or &quot;Your name *&quot;</source>
        <translation>geben Sie dem Feld das Attribut required, oder kennzeichnen Sie seine Beschriftung, zum Beispiel „Ihr Name (Pflichtfeld)“ oder „Ihr Name *“</translation>
    </message>
    <message>
        <source>The accessibility audit gave an answer that could not be read.</source>
        <translation>Die Barrierefreiheitsprüfung gab eine Antwort, die nicht gelesen werden konnte.</translation>
    </message>
    <message>
        <source>Run Tools &gt; Check Sign-up Form again.</source>
        <translation>Führen Sie Extras &gt; Anmeldeformular prüfen erneut aus.</translation>
    </message>
    <message>
        <source>%1 (axe-core rule %2: %3)</source>
        <translation>%1 (axe-core-Regel %2: %3)</translation>
    </message>
    <message>
        <source>The accessibility audit was left out of this check, which ran by itself: the page has %L1 elements (more than %L2), and auditing them takes longer than showing the page. Tools &gt; Check Sign-up Form runs it.</source>
        <translation>Die Barrierefreiheitsprüfung wurde bei dieser Prüfung, die von selbst lief, ausgelassen: Die Seite hat %L1 Elemente (mehr als %L2), und sie zu prüfen dauert länger, als die Seite zu zeigen. Extras &gt; Anmeldeformular prüfen führt sie aus.</translation>
    </message>
    <message>
        <source>The accessibility audit (axe-core %1, WCAG 2.2 A and AA) ran on the rendered form.</source>
        <translation>Die Barrierefreiheitsprüfung (axe-core %1, WCAG 2.2 A und AA) lief auf dem dargestellten Formular.</translation>
    </message>
    <message>
        <source>; the page&apos;s own address is not known, so &apos;self&apos; was taken to allow nothing: if the address is the page&apos;s own site, give the site&apos;s published address</source>
        <translation>; die eigene Adresse der Seite ist nicht bekannt, daher wurde angenommen, dass &apos;self&apos; nichts erlaubt: Ist die Adresse die eigene Website der Seite, geben Sie die Veröffentlichungsadresse der Website an</translation>
    </message>
    <message>
        <source>add the service&apos;s origin %1 to form-action in the &lt;meta&gt; policy (and in any policy the server sends for the page)%2</source>
        <translation>nehmen Sie den Ursprung %1 des Dienstes in form-action der &lt;meta&gt;-Richtlinie auf (und in jeder Richtlinie, die der Server für die Seite sendet)%2</translation>
    </message>
    <message>
        <source>the page&apos;s content security policy (%1) does not allow the thank-you page %2: browsers apply form-action to the service&apos;s redirect after the sign-up and block it, so the visitor sees an error instead of the thank-you page</source>
        <translation>die Inhaltsrichtlinie der Seite (%1) erlaubt die Dankeseite %2 nicht: Browser wenden form-action auf die Weiterleitung des Dienstes nach der Anmeldung an und blockieren sie, sodass der Besucher einen Fehler statt der Dankeseite sieht</translation>
    </message>
    <message>
        <source>add the thank-you page&apos;s origin %1 to form-action%2</source>
        <translation>nehmen Sie den Ursprung %1 der Dankeseite in form-action auf%2</translation>
    </message>
    <message>
        <source>the page has no sign-up region (an element with the id &quot;%1&quot;), so there is no form to check</source>
        <translation>die Seite hat keinen Anmeldebereich (ein Element mit der ID „%1“), also gibt es kein Formular zu prüfen</translation>
    </message>
    <message>
        <source>run the Ostrel wizard on the page: Finish puts the form into a new region at the end of the page, or into an element with that id</source>
        <translation>führen Sie den Ostrel-Assistenten auf der Seite aus: Fertig stellen setzt das Formular in einen neuen Bereich am Ende der Seite oder in ein Element mit dieser ID</translation>
    </message>
    <message>
        <source>the sign-up region is itself a form</source>
        <translation>der Anmeldebereich ist selbst ein Formular</translation>
    </message>
    <message>
        <source>the sign-up region lies inside another form (the &lt;form&gt; at %1)</source>
        <translation>der Anmeldebereich liegt in einem anderen Formular (dem &lt;form&gt; bei %1)</translation>
    </message>
    <message>
        <source>: forms do not nest, so browsers drop the sign-up form&apos;s own &lt;form&gt; tag and send its fields to that form&apos;s action instead</source>
        <translation>: Formulare lassen sich nicht verschachteln, daher verwerfen Browser das eigene &lt;form&gt;-Tag des Anmeldeformulars und senden seine Felder stattdessen an die Aktion jenes Formulars</translation>
    </message>
    <message>
        <source>give the sign-up form a region of its own, such as &lt;div id=&quot;OstrelInsert&quot;&gt;&lt;/div&gt;, outside every form, and take the name or id &quot;OstrelInsert&quot; off this form</source>
        <translation>geben Sie dem Anmeldeformular einen eigenen Bereich außerhalb jedes Formulars, etwa &lt;div id=&quot;OstrelInsert&quot;&gt;&lt;/div&gt;, und nehmen Sie diesem Formular den Namen oder die ID „OstrelInsert“</translation>
    </message>
    <message>
        <source>move the sign-up region out of the other form (after its &lt;/form&gt;)</source>
        <translation>verschieben Sie den Anmeldebereich aus dem anderen Formular heraus (hinter dessen &lt;/form&gt;)</translation>
    </message>
    <message>
        <source>the sign-up region is empty: there is no form to check</source>
        <translation>der Anmeldebereich ist leer: Es gibt kein Formular zu prüfen</translation>
    </message>
    <message>
        <source>the sign-up region holds no form (an e-mail link or text): only its placeholders and ids were checked</source>
        <translation>der Anmeldebereich enthält kein Formular (einen E-Mail-Link oder Text): Nur seine Platzhalter und IDs wurden geprüft</translation>
    </message>
    <message>
        <source>run the Ostrel wizard on the page to put the sign-up form in</source>
        <translation>führen Sie den Ostrel-Assistenten auf der Seite aus, um das Anmeldeformular einzufügen</translation>
    </message>
    <message>
        <source>nothing to do if the e-mail link is what you chose; the wizard&apos;s HTML form choice puts a sign-up form there</source>
        <translation>nichts zu tun, wenn Sie den E-Mail-Link gewählt haben; die Wahl HTML-Formular im Assistenten setzt dort ein Anmeldeformular ein</translation>
    </message>
    <message>
        <source>the form check did not run: %1</source>
        <translation>die Formularprüfung lief nicht: %1</translation>
    </message>
    <message>
        <source>the page must be readable by the editor&apos;s page document for its form to be checked</source>
        <translation>die Seite muss für das Seitendokument des Editors lesbar sein, damit ihr Formular geprüft werden kann</translation>
    </message>
    <message>
        <source>the site&apos;s published address %1</source>
        <translation>die Veröffentlichungsadresse %1 der Website</translation>
    </message>
    <message>
        <source>%1 at %2</source>
        <translation>%1 bei %2</translation>
    </message>
    <message>
        <source> name=%1</source>
        <translation> name=%1</translation>
    </message>
    <message>
        <source> id=%1</source>
        <translation> id=%1</translation>
    </message>
    <message>
        <source>a second sign-up region (an element %1 &quot;%2&quot;); the first is at %3</source>
        <translation>ein zweiter Anmeldebereich (ein Element %1 „%2“); der erste ist bei %3</translation>
    </message>
    <message>
        <source>with the id</source>
        <translation>mit der ID</translation>
    </message>
    <message>
        <source>keep one sign-up region in the page: with two, the add-in and the site update cannot tell which to fill, and the page has every id of the form twice</source>
        <translation>behalten Sie einen Anmeldebereich in der Seite: Bei zweien können das Add-in und die Website-Aktualisierung nicht wissen, welchen sie füllen sollen, und die Seite hat jede ID des Formulars doppelt</translation>
    </message>
    <message>
        <source>a second sign-up form; the first is at %1</source>
        <translation>ein zweites Anmeldeformular; das erste ist bei %1</translation>
    </message>
    <message>
        <source>keep one sign-up form in the page, inside the sign-up region: two copies repeat every id of the form and confuse visitors</source>
        <translation>behalten Sie ein Anmeldeformular in der Seite, im Anmeldebereich: Zwei Kopien wiederholen jede ID des Formulars und verwirren Besucher</translation>
    </message>
    <message>
        <source>the placeholder %1 was left in the form</source>
        <translation>der Platzhalter %1 ist im Formular stehen geblieben</translation>
    </message>
    <message>
        <source>run the wizard again and press Finish, which fills every placeholder of the shipped template; a template of your own may use only &lt;&lt;USERID&gt;&gt;, &lt;&lt;HEADERFIELD&gt;&gt;, &lt;&lt;ADTRACKING&gt;&gt;, &lt;&lt;REDIRECT&gt;&gt;, &lt;&lt;MSGNO&gt;&gt; and &lt;&lt;REQUIREDFIELD&gt;&gt;</source>
        <translation>führen Sie den Assistenten erneut aus und drücken Sie Fertig stellen, was jeden Platzhalter der mitgelieferten Vorlage füllt; eine eigene Vorlage darf nur &lt;&lt;USERID&gt;&gt;, &lt;&lt;HEADERFIELD&gt;&gt;, &lt;&lt;ADTRACKING&gt;&gt;, &lt;&lt;REDIRECT&gt;&gt;, &lt;&lt;MSGNO&gt;&gt; und &lt;&lt;REQUIREDFIELD&gt;&gt; verwenden</translation>
    </message>
    <message>
        <source>the form&apos;s required list names %1, but the form has no field of that name for the visitor to fill in: the service finds no value for it and turns every sign-up away</source>
        <translation>die Pflichtliste des Formulars nennt %1, aber das Formular hat kein Feld dieses Namens, das der Besucher ausfüllen könnte: Der Dienst findet keinen Wert dafür und weist jede Anmeldung ab</translation>
    </message>
    <message>
        <source>name the field %1 (the service&apos;s names are &quot;name&quot; and &quot;from&quot;), or clear its check box in the wizard</source>
        <translation>nennen Sie das Feld %1 (die Namen des Dienstes sind „name“ und „from“), oder entfernen Sie sein Häkchen im Assistenten</translation>
    </message>
    <message>
        <source>the form has no field &quot;list&quot; (the list id): the service cannot tell which list to add the visitor to</source>
        <translation>das Formular hat kein Feld „list“ (die Listen-ID): Der Dienst weiß nicht, in welche Liste er den Besucher eintragen soll</translation>
    </message>
    <message>
        <source>use the shipped template, or give the form &lt;input type=&quot;hidden&quot; name=&quot;list&quot; value=&quot;&lt;&lt;USERID&gt;&gt;&quot;&gt;, and run the wizard again</source>
        <translation>verwenden Sie die mitgelieferte Vorlage, oder geben Sie dem Formular &lt;input type=&quot;hidden&quot; name=&quot;list&quot; value=&quot;&lt;&lt;USERID&gt;&gt;&quot;&gt;, und führen Sie den Assistenten erneut aus</translation>
    </message>
    <message>
        <source>the list id is empty: the service adds the visitor to no list</source>
        <translation>die Listen-ID ist leer: Der Dienst trägt den Besucher in keine Liste ein</translation>
    </message>
    <message>
        <source>the list id is &quot;None&quot;, the wizard&apos;s value for an empty entry: the service adds the visitor to no list</source>
        <translation>die Listen-ID ist „None“, der Wert des Assistenten für eine leere Eingabe: Der Dienst trägt den Besucher in keine Liste ein</translation>
    </message>
    <message>
        <source>run the wizard again and enter your list&apos;s user id</source>
        <translation>führen Sie den Assistenten erneut aus und geben Sie die Benutzerkennung Ihrer Liste ein</translation>
    </message>
    <message>
        <source>the form has no field &quot;redirect&quot; (the thank-you page): visitors land on the service&apos;s own page after signing up</source>
        <translation>das Formular hat kein Feld „redirect“ (die Dankeseite): Besucher landen nach der Anmeldung auf der eigenen Seite des Dienstes</translation>
    </message>
    <message>
        <source>use the shipped template, or give the form &lt;input type=&quot;hidden&quot; name=&quot;redirect&quot; value=&quot;&lt;&lt;REDIRECT&gt;&gt;&quot;&gt;, and run the wizard again</source>
        <translation>verwenden Sie die mitgelieferte Vorlage, oder geben Sie dem Formular &lt;input type=&quot;hidden&quot; name=&quot;redirect&quot; value=&quot;&lt;&lt;REDIRECT&gt;&gt;&quot;&gt;, und führen Sie den Assistenten erneut aus</translation>
    </message>
    <message>
        <source>an entry is inserted as typed: run the wizard again and leave quotes and &lt; out of the entries (write &amp;quot; and &amp;lt; where they must show), or mend the form&apos;s markup here</source>
        <translation>eine Eingabe wird so eingefügt, wie sie getippt wurde: Führen Sie den Assistenten erneut aus und lassen Sie Anführungszeichen und &lt; aus den Eingaben weg (schreiben Sie &amp;quot; und &amp;lt;, wo sie erscheinen müssen), oder reparieren Sie das Markup des Formulars hier</translation>
    </message>
    <message>
        <source>that no markup has: a quote in an entry ended the value before it</source>
        <translation>das kein Markup hat: Ein Anführungszeichen in einer Eingabe hat den Wert davor beendet</translation>
    </message>
    <message>
        <source>that runs a script: a quote in an entry ended the value before it</source>
        <translation>das ein Skript ausführt: Ein Anführungszeichen in einer Eingabe hat den Wert davor beendet</translation>
    </message>
    <message>
        <source>that a hidden field does not have: a quote in an entry ended the value before it</source>
        <translation>das ein verstecktes Feld nicht hat: Ein Anführungszeichen in einer Eingabe hat den Wert davor beendet</translation>
    </message>
    <message>
        <source>the %1 has an attribute %2 %3</source>
        <translation>%1 hat ein Attribut %2, %3</translation>
    </message>
    <message>
        <source>the %1 has the attribute %2 twice: browsers keep the first, %3, and drop this one; a quote in an entry ended the value early</source>
        <translation>%1 hat das Attribut %2 zweimal: Browser behalten das erste, %3, und verwerfen dieses; ein Anführungszeichen in einer Eingabe hat den Wert zu früh beendet</translation>
    </message>
    <message>
        <source>the heading %1 holds markup that changes the form: a &lt; in the entry %2</source>
        <translation>die Überschrift %1 enthält Markup, das das Formular verändert: Ein &lt; in der Eingabe %2</translation>
    </message>
    <message>
        <source>opened or closed elements, and the form&apos;s fields may now lie elsewhere</source>
        <translation>hat Elemente geöffnet oder geschlossen, und die Felder des Formulars liegen nun womöglich anderswo</translation>
    </message>
    <message>
        <source>opened a tag that swallowed the heading&apos;s end and what follows it</source>
        <translation>hat ein Tag geöffnet, das das Ende der Überschrift und alles Folgende verschluckt hat</translation>
    </message>
    <message>
        <source>the heading %1 holds markup (&lt;%2&gt;): if the entry meant &lt; as a character, it opened an element instead</source>
        <translation>die Überschrift %1 enthält Markup (&lt;%2&gt;): War &lt; in der Eingabe als Zeichen gemeint, hat es stattdessen ein Element geöffnet</translation>
    </message>
    <message>
        <source>write &amp;lt; in the heading&apos;s entry where &lt; must show</source>
        <translation>schreiben Sie &amp;lt; in der Eingabe der Überschrift, wo &lt; erscheinen muss</translation>
    </message>
    <message>
        <source>the element &lt;%1&gt; is no element of HTML: a &lt; in an entry opened it, and it takes in what follows</source>
        <translation>das Element &lt;%1&gt; ist kein HTML-Element: Ein &lt; in einer Eingabe hat es geöffnet, und es nimmt alles Folgende auf</translation>
    </message>
    <message>
        <source>the field %1 and %2 more after it lie outside the form: the form does not send them</source>
        <translation>das Feld %1 und %2 weitere danach liegen außerhalb des Formulars: Das Formular sendet sie nicht</translation>
    </message>
    <message>
        <source>the field %1 lies outside the form: the form does not send it</source>
        <translation>das Feld %1 liegt außerhalb des Formulars: Das Formular sendet es nicht</translation>
    </message>
    <message>
        <source>an end tag &lt;/form&gt; ends the form before its field %1: browsers send none of the fields after it</source>
        <translation>ein End-Tag &lt;/form&gt; beendet das Formular vor seinem Feld %1: Browser senden keines der Felder danach</translation>
    </message>
    <message>
        <source>make a page of your site that says &quot;check your inbox to confirm your subscription&quot; and give its full address as the thank-you page in the wizard</source>
        <translation>legen Sie eine Seite Ihrer Website an, die sagt „Bitte bestätigen Sie Ihr Abonnement über die E-Mail in Ihrem Posteingang“, und geben Sie ihre vollständige Adresse im Assistenten als Dankeseite an</translation>
    </message>
    <message>
        <source>the service&apos;s home page</source>
        <translation>die Startseite des Dienstes</translation>
    </message>
    <message>
        <source>the add-in publisher&apos;s home page</source>
        <translation>die Startseite des Add-in-Herausgebers</translation>
    </message>
    <message>
        <source>the wizard&apos;s value for an empty entry</source>
        <translation>der Wert des Assistenten für eine leere Eingabe</translation>
    </message>
    <message>
        <source>the wizard&apos;s first suggestion</source>
        <translation>der erste Vorschlag des Assistenten</translation>
    </message>
    <message>
        <source>the thank-you page %1 is not a full address: the service sends visitors to it as written, and their browser reads it against the service&apos;s address, not your site&apos;s%2</source>
        <translation>die Dankeseite %1 ist keine vollständige Adresse: Der Dienst schickt Besucher so dorthin, wie sie geschrieben ist, und ihr Browser liest sie gegen die Adresse des Dienstes, nicht gegen die Ihrer Website%2</translation>
    </message>
    <message>
        <source>; nor does the site have the file %1</source>
        <translation>; auch hat die Website die Datei %1 nicht</translation>
    </message>
    <message>
        <source>write the page&apos;s full address, starting with https:// and your site&apos;s address%1</source>
        <translation>schreiben Sie die vollständige Adresse der Seite, beginnend mit https:// und der Adresse Ihrer Website%1</translation>
    </message>
    <message>
        <source>, and make the page</source>
        <translation>, und legen Sie die Seite an</translation>
    </message>
    <message>
        <source>the thank-you page %1 is not a web page&apos;s address</source>
        <translation>die Dankeseite %1 ist keine Adresse einer Webseite</translation>
    </message>
    <message>
        <source>the thank-you page %1 lies in the site published at %2, but the site has no file %3: visitors who sign up land on a missing page</source>
        <translation>die Dankeseite %1 liegt in der unter %2 veröffentlichten Website, aber die Website hat keine Datei %3: Besucher, die sich anmelden, landen auf einer fehlenden Seite</translation>
    </message>
    <message>
        <source>make that page (one that says &quot;check your inbox to confirm your subscription&quot;), or correct the address</source>
        <translation>legen Sie diese Seite an (eine, die sagt „Bitte bestätigen Sie Ihr Abonnement über die E-Mail in Ihrem Posteingang“), oder berichtigen Sie die Adresse</translation>
    </message>
    <message>
        <source>the form&apos;s action is empty: it sends the sign-up to this page itself, not to the service</source>
        <translation>die Aktion des Formulars ist leer: Es sendet die Anmeldung an diese Seite selbst, nicht an den Dienst</translation>
    </message>
    <message>
        <source>the form has no action: it sends the sign-up to this page itself, not to the service</source>
        <translation>das Formular hat keine Aktion: Es sendet die Anmeldung an diese Seite selbst, nicht an den Dienst</translation>
    </message>
    <message>
        <source>give the form the service&apos;s address, action=&quot;%1&quot;</source>
        <translation>geben Sie dem Formular die Adresse des Dienstes, action=&quot;%1&quot;</translation>
    </message>
    <message>
        <source>the form&apos;s action %1 is not an absolute address: the browser reads it against the page&apos;s own address, so the sign-up goes to the page&apos;s server, not to the service</source>
        <translation>die Aktion %1 des Formulars ist keine absolute Adresse: Der Browser liest sie gegen die eigene Adresse der Seite, also geht die Anmeldung an den Server der Seite, nicht an den Dienst</translation>
    </message>
    <message>
        <source>write the service&apos;s full address, starting with https://, for example &quot;%1&quot;</source>
        <translation>schreiben Sie die vollständige Adresse des Dienstes, beginnend mit https://, zum Beispiel „%1“</translation>
    </message>
    <message>
        <source>the form&apos;s action %1 names no server</source>
        <translation>die Aktion %1 des Formulars nennt keinen Server</translation>
    </message>
    <message>
        <source>the form&apos;s action %1 is a %2: address, not a web address the service can receive the sign-up at</source>
        <translation>die Aktion %1 des Formulars ist eine %2:-Adresse, keine Webadresse, unter der der Dienst die Anmeldung empfangen kann</translation>
    </message>
    <message>
        <source>the form&apos;s action %1 is http: while the page is published over https (%2): browsers warn visitors that the form is not secure before it sends their names and addresses unencrypted</source>
        <translation>die Aktion %1 des Formulars ist http:, während die Seite über https veröffentlicht ist (%2): Browser warnen Besucher, dass das Formular nicht sicher ist, bevor es ihre Namen und Adressen unverschlüsselt sendet</translation>
    </message>
    <message>
        <source>use the service&apos;s https: address, %1</source>
        <translation>verwenden Sie die https:-Adresse des Dienstes, %1</translation>
    </message>
    <message>
        <source>the form&apos;s action %1 is http: on a page published over https (%2); the page&apos;s policy upgrade-insecure-requests makes browsers send it to the https: address instead</source>
        <translation>die Aktion %1 des Formulars ist http: auf einer über https veröffentlichten Seite (%2); die Richtlinie upgrade-insecure-requests der Seite lässt Browser stattdessen an die https:-Adresse senden</translation>
    </message>
    <message>
        <source>write the https: address, %1, so that the form works where the policy is left out</source>
        <translation>schreiben Sie die https:-Adresse, %1, damit das Formular auch dort funktioniert, wo die Richtlinie fehlt</translation>
    </message>
    <message>
        <source>the form&apos;s action %1 is http: it sends visitors&apos; names and addresses unencrypted</source>
        <translation>die Aktion %1 des Formulars ist http: Es sendet Namen und Adressen der Besucher unverschlüsselt</translation>
    </message>
    <message>
        <source>use the service&apos;s https: address, %1; published over https, the page would make browsers warn before sending</source>
        <translation>verwenden Sie die https:-Adresse des Dienstes, %1; über https veröffentlicht, ließe die Seite Browser vor dem Senden warnen</translation>
    </message>
    <message>
        <source>named</source>
        <translation>mit dem Namen</translation>
    </message>
    <message>
        <source>the canonical link</source>
        <translation>der kanonische Link</translation>
    </message>
    <message>
        <source>the &lt;base href&gt;</source>
        <translation>das &lt;base href&gt;</translation>
    </message>
    <message>
        <source>line %1, column %2</source>
        <translation>Zeile %1, Spalte %2</translation>
    </message>
    <message>
        <source>the field %1</source>
        <translation>das Feld %1</translation>
    </message>
    <message>
        <source>the label %1 is for the id %2, but no element of the page has that id: the label is tied to no field%3</source>
        <translation>die Beschriftung %1 gehört zur ID %2, aber kein Element der Seite hat diese ID: Die Beschriftung ist mit keinem Feld verbunden%3</translation>
    </message>
    <message>
        <source>, and clicking it does not reach %1</source>
        <translation>, und ein Klick darauf erreicht %1 nicht</translation>
    </message>
    <message>
        <source>, so screen readers announce %1 without a name, and clicking the label does not reach it</source>
        <translation>, daher sagen Screenreader %1 ohne Namen an, und ein Klick auf die Beschriftung erreicht es nicht</translation>
    </message>
    <message>
        <source>write for=%1, the field&apos;s id</source>
        <translation>schreiben Sie for=%1, die ID des Feldes</translation>
    </message>
    <message>
        <source>give the field an id and write the same in the label&apos;s for=</source>
        <translation>geben Sie dem Feld eine ID und schreiben Sie dieselbe in das for= der Beschriftung</translation>
    </message>
    <message>
        <source>those ids</source>
        <translation>diese IDs</translation>
    </message>
    <message>
        <source>that id</source>
        <translation>diese ID</translation>
    </message>
    <message>
        <source>the form&apos;s %1 names %2, but no element of the page has %3: screen readers announce the form without its name</source>
        <translation>das Attribut %1 des Formulars nennt %2, aber kein Element der Seite hat %3: Screenreader sagen das Formular ohne seinen Namen an</translation>
    </message>
    <message>
        <source>the form&apos;s %1 names %2, but no element of the page has %3: screen readers announce the form without its description</source>
        <translation>das Attribut %1 des Formulars nennt %2, aber kein Element der Seite hat %3: Screenreader sagen das Formular ohne seine Beschreibung an</translation>
    </message>
    <message>
        <source>the %1&apos;s %2 names %3, but no element of the page has %4: screen readers announce it without its name</source>
        <translation>das Attribut %2 von %1 nennt %3, aber kein Element der Seite hat %4: Screenreader sagen es ohne seinen Namen an</translation>
    </message>
    <message>
        <source>the %1&apos;s %2 names %3, but no element of the page has %4: screen readers announce it without its description</source>
        <translation>das Attribut %2 von %1 nennt %3, aber kein Element der Seite hat %4: Screenreader sagen es ohne seine Beschreibung an</translation>
    </message>
    <message>
        <source>write %1=%2, the id of its heading</source>
        <translation>schreiben Sie %1=%2, die ID seiner Überschrift</translation>
    </message>
    <message>
        <source>give the form&apos;s heading the id %1</source>
        <translation>geben Sie der Überschrift des Formulars die ID %1</translation>
    </message>
    <message>
        <source>write the id of the element meant, or take the attribute away</source>
        <translation>schreiben Sie die ID des gemeinten Elements, oder entfernen Sie das Attribut</translation>
    </message>
    <message>
        <source>the form&apos;s action goes to the host %1, not to the service&apos;s host %2: no sign-up reaches the service, and visitors see an error page (or a stranger&apos;s server receives their names and addresses)</source>
        <translation>die Aktion des Formulars geht an den Host %1, nicht an den Host %2 des Dienstes: Keine Anmeldung erreicht den Dienst, und Besucher sehen eine Fehlerseite (oder der Server eines Fremden empfängt ihre Namen und Adressen)</translation>
    </message>
    <message>
        <source>write the service&apos;s address, action=&quot;%1&quot;</source>
        <translation>schreiben Sie die Adresse des Dienstes, action=&quot;%1&quot;</translation>
    </message>
    <message>
        <source>the form&apos;s action %1 has no scheme: browsers send the sign-up with the page&apos;s own, encrypted from a page served over https: but unencrypted from one served over http:</source>
        <translation>die Aktion %1 des Formulars hat kein Schema: Browser senden die Anmeldung mit dem der Seite, verschlüsselt von einer über https: ausgelieferten Seite, aber unverschlüsselt von einer über http: ausgelieferten</translation>
    </message>
    <message>
        <source>write the service&apos;s https: address, %1, so that it is encrypted wherever the page is served</source>
        <translation>schreiben Sie die https:-Adresse des Dienstes, %1, damit die Anmeldung verschlüsselt gesendet wird, wo immer die Seite ausgeliefert wird</translation>
    </message>
    <message>
        <source> (http: from the page&apos;s address)</source>
        <translation> (http: aus der Adresse der Seite)</translation>
    </message>
    <message>
        <source>the page&apos;s content security policy (%1) does not allow the form&apos;s action %2: the browser blocks the sign-up%3</source>
        <translation>die Inhaltsrichtlinie der Seite (%1) erlaubt die Aktion %2 des Formulars nicht: Der Browser blockiert die Anmeldung%3</translation>
    </message>
    <message>
        <source> (&apos;self&apos; allows only the page&apos;s own site, and the service&apos;s host is never that)</source>
        <translation> (&apos;self&apos; erlaubt nur die eigene Website der Seite, und der Host des Dienstes gehört nie dazu)</translation>
    </message>
    <message>
        <source>the thank-you page is empty: after signing up, visitors land on the service&apos;s home page, not on your site, and nothing tells them to confirm their subscription in their inbox</source>
        <translation>die Dankeseite ist leer: Nach der Anmeldung landen Besucher auf der Startseite des Dienstes, nicht auf Ihrer Website, und nichts sagt ihnen, dass sie ihr Abonnement in ihrem Posteingang bestätigen müssen</translation>
    </message>
    <message>
        <source>the thank-you page is %1 %2 (%3): after signing up, visitors land there, not on your site, and nothing tells them to confirm their subscription in their inbox</source>
        <translation>die Dankeseite ist %1 %2 (%3): Nach der Anmeldung landen Besucher dort, nicht auf Ihrer Website, und nichts sagt ihnen, dass sie ihr Abonnement in ihrem Posteingang bestätigen müssen</translation>
    </message>
    <message>
        <source>the field %1, which the form&apos;s required list names, is commented out (&lt;!-- ... --&gt;): visitors cannot fill it in, and the service turns every sign-up away</source>
        <translation>das Feld %1, das die Pflichtliste des Formulars nennt, ist auskommentiert (&lt;!-- ... --&gt;): Besucher können es nicht ausfüllen, und der Dienst weist jede Anmeldung ab</translation>
    </message>
    <message>
        <source>take away the &lt;!-- and --&gt; around the field, or clear its check box in the wizard</source>
        <translation>entfernen Sie das &lt;!-- und --&gt; um das Feld, oder entfernen Sie sein Häkchen im Assistenten</translation>
    </message>
    <message>
        <source>this &lt;/form&gt; ends the sign-up form before its field %1%2: browsers send none of the fields after it, and the form&apos;s own &lt;/form&gt; further on is ignored</source>
        <translation>dieses &lt;/form&gt; beendet das Anmeldeformular vor seinem Feld %1%2: Browser senden keines der Felder danach, und das eigene &lt;/form&gt; des Formulars weiter hinten wird ignoriert</translation>
    </message>
    <message>
        <source> and %1 more after it</source>
        <translation> und %1 weiteren danach</translation>
    </message>
    <message>
        <source>take this &lt;/form&gt; away: the form ends at the &lt;/form&gt; after its last field</source>
        <translation>entfernen Sie dieses &lt;/form&gt;: Das Formular endet am &lt;/form&gt; nach seinem letzten Feld</translation>
    </message>
    <message>
        <source>the heading %1 ends inside its entry: &quot;&lt;/%2&gt;&lt;%2&gt;&quot; in it closes the heading and opens a second one, so visitors see two headings, %3 and %4</source>
        <translation>die Überschrift %1 endet in ihrer Eingabe: „&lt;/%2&gt;&lt;%2&gt;“ darin schließt die Überschrift und öffnet eine zweite, sodass Besucher zwei Überschriften sehen, %3 und %4</translation>
    </message>
    <message>
        <source>the heading %1 ends inside its entry: &quot;&lt;/%2&gt;&quot; in it closes the heading early, and the rest of the entry shows as ordinary text after it</source>
        <translation>die Überschrift %1 endet in ihrer Eingabe: „&lt;/%2&gt;“ darin schließt die Überschrift zu früh, und der Rest der Eingabe erscheint danach als gewöhnlicher Text</translation>
    </message>
    <message>
        <source>the box %1 is ticked before the visitor chooses: whoever does not notice it signs up to more than the form asks</source>
        <translation>das Kästchen %1 ist angekreuzt, bevor der Besucher wählt: Wer es nicht bemerkt, meldet sich für mehr an, als das Formular erfragt</translation>
    </message>
    <message>
        <source>take checked away, so that visitors tick the box themselves if they want it</source>
        <translation>entfernen Sie checked, damit Besucher das Kästchen selbst ankreuzen, wenn sie es wollen</translation>
    </message>
    <message>
        <source>a placeholder of the template written escaped, which the wizard does not fill</source>
        <extracomment>The object of &quot;holds&quot;, &quot;shows&quot; or &quot;reads&quot; in the findings below.</extracomment>
        <translation>einen maskiert geschriebenen Platzhalter der Vorlage, den der Assistent nicht füllt</translation>
    </message>
    <message>
        <source>a placeholder of another tool</source>
        <extracomment>The object of &quot;holds&quot;, &quot;shows&quot; or &quot;reads&quot; in the findings below.</extracomment>
        <translation>einen Platzhalter eines anderen Werkzeugs</translation>
    </message>
    <message>
        <source>the list id holds %1, not your list&apos;s user id: the service adds the visitor to no list</source>
        <translation>die Listen-ID enthält %1, nicht die Benutzerkennung Ihrer Liste: Der Dienst trägt den Besucher in keine Liste ein</translation>
    </message>
    <message>
        <source>run the wizard again and enter your list&apos;s user id, the one the service gave you</source>
        <translation>führen Sie den Assistenten erneut aus und geben Sie die Benutzerkennung Ihrer Liste ein, die Ihnen der Dienst gegeben hat</translation>
    </message>
    <message>
        <source>the thank-you page holds %1: after signing up, visitors are sent to an address that does not exist</source>
        <translation>die Dankeseite enthält %1: Nach der Anmeldung werden Besucher an eine Adresse geschickt, die es nicht gibt</translation>
    </message>
    <message>
        <source>run the wizard again and give your thank-you page&apos;s full address</source>
        <translation>führen Sie den Assistenten erneut aus und geben Sie die vollständige Adresse Ihrer Dankeseite an</translation>
    </message>
    <message>
        <source>the required list holds %1: the service looks for a field of that name, finds none and turns every sign-up away</source>
        <translation>die Pflichtliste enthält %1: Der Dienst sucht ein Feld dieses Namens, findet keines und weist jede Anmeldung ab</translation>
    </message>
    <message>
        <source>run the wizard again and tick the fields visitors must fill in</source>
        <translation>führen Sie den Assistenten erneut aus und kreuzen Sie die Felder an, die Besucher ausfüllen müssen</translation>
    </message>
    <message>
        <source>the hidden field %1 holds %2: the service receives it as it is</source>
        <translation>das versteckte Feld %1 enthält %2: Der Dienst erhält den Wert unverändert</translation>
    </message>
    <message>
        <source>write the value meant (the wizard fills the tracking and message number entries)</source>
        <translation>schreiben Sie den gemeinten Wert (der Assistent füllt die Eingaben für Tracking und Nachrichtennummer)</translation>
    </message>
    <message>
        <source>the heading %1 reads %2: visitors see it as the form&apos;s title</source>
        <translation>die Überschrift %1 zeigt %2: Besucher sehen ihn als Titel des Formulars</translation>
    </message>
    <message>
        <source>run the wizard again and enter the heading, or write it here</source>
        <translation>führen Sie den Assistenten erneut aus und geben Sie die Überschrift ein, oder schreiben Sie sie hier</translation>
    </message>
    <message>
        <source>the sign-up region shows %1: visitors see it as written</source>
        <translation>der Anmeldebereich zeigt %1: Besucher sehen ihn so, wie er geschrieben ist</translation>
    </message>
    <message>
        <source>write the words meant in its place</source>
        <translation>schreiben Sie an seiner Stelle die gemeinten Worte</translation>
    </message>
    <message>
        <source>the %1&apos;s %2 holds %3: visitors see it as written</source>
        <translation>das Attribut %2 von %1 enthält %3: Besucher sehen ihn so, wie er geschrieben ist</translation>
    </message>
    <message>
        <source>the sign-up region and its form are commented out (&lt;!-- ... --&gt;): browsers show visitors nothing of them</source>
        <translation>der Anmeldebereich und sein Formular sind auskommentiert (&lt;!-- ... --&gt;): Browser zeigen Besuchern nichts davon</translation>
    </message>
    <message>
        <source>the sign-up form is commented out (&lt;!-- ... --&gt;): browsers show visitors nothing of it</source>
        <translation>das Anmeldeformular ist auskommentiert (&lt;!-- ... --&gt;): Browser zeigen Besuchern nichts davon</translation>
    </message>
    <message>
        <source>the sign-up form&apos;s &lt;form&gt; tag is commented out (&lt;!-- ... --&gt;): its fields belong to no form, and the button sends nothing</source>
        <translation>das &lt;form&gt;-Tag des Anmeldeformulars ist auskommentiert (&lt;!-- ... --&gt;): Seine Felder gehören zu keinem Formular, und die Schaltfläche sendet nichts</translation>
    </message>
    <message>
        <source>take away the &lt;!-- and --&gt; around the form, or run the wizard again to put a new form in</source>
        <translation>entfernen Sie das &lt;!-- und --&gt; um das Formular, oder führen Sie den Assistenten erneut aus, um ein neues Formular einzufügen</translation>
    </message>
    <message>
        <source>in the sign-up region</source>
        <extracomment>Says which frame: it follows &quot;the sign-up form is in a frame&quot;.</extracomment>
        <translation> im Anmeldebereich</translation>
    </message>
    <message>
        <source>whose srcdoc holds the sign-up form</source>
        <extracomment>Says which frame: it follows &quot;the sign-up form is in a frame&quot;.</extracomment>
        <translation>, dessen srcdoc das Anmeldeformular enthält</translation>
    </message>
    <message>
        <source>that shows the service&apos;s form %1</source>
        <extracomment>Says which frame: it follows &quot;the sign-up form is in a frame&quot;.</extracomment>
        <translation>, der das Formular %1 des Dienstes zeigt</translation>
    </message>
    <message>
        <source>that shows %1, which holds the sign-up form</source>
        <extracomment>Says which frame: it follows &quot;the sign-up form is in a frame&quot;.</extracomment>
        <translation>, der %1 zeigt, worin das Anmeldeformular steht</translation>
    </message>
    <message>
        <source>the sign-up form is in a frame %1, and the frame&apos;s sandbox does not allow forms: the browser blocks the submission, so visitors press the button and nothing is sent</source>
        <translation>das Anmeldeformular liegt in einem Rahmen%1, und die Sandbox des Rahmens erlaubt keine Formulare: Der Browser blockiert das Absenden, sodass Besucher die Schaltfläche drücken und nichts gesendet wird</translation>
    </message>
    <message>
        <source>add allow-forms to the frame&apos;s sandbox (sandbox=&quot;%1&quot;), or put the sign-up form in the page itself</source>
        <translation>nehmen Sie allow-forms in die Sandbox des Rahmens auf (sandbox=&quot;%1&quot;), oder setzen Sie das Anmeldeformular in die Seite selbst</translation>
    </message>
    <message>
        <source>the rendered view gave no answer within %1 seconds</source>
        <translation>die Seitendarstellung hat binnen %1 Sekunden nicht geantwortet</translation>
    </message>
    <message>
        <source>a newer rehearsal took its place</source>
        <translation>ein neuerer Probelauf ist an seine Stelle getreten</translation>
    </message>
    <message>
        <source>the page (%1) is larger than the rendered view shows (%2)</source>
        <translation>die Seite (%1) ist größer, als die Seitendarstellung zeigt (%2)</translation>
    </message>
    <message>
        <source>what the service reads is not known: %1</source>
        <translation>was der Dienst liest, ist nicht bekannt: %1</translation>
    </message>
    <message>
        <source>this build has no rendered view (it was built without Qt WebEngine)</source>
        <translation>dieser Build hat keine Seitendarstellung (er wurde ohne Qt WebEngine gebaut)</translation>
    </message>
    <message>
        <source>it is not JSON (%1 at byte %2)</source>
        <translation>sie ist kein JSON (%1 bei Byte %2)</translation>
    </message>
    <message>
        <source>it lacks methods, schemes, host or fields</source>
        <translation>ihr fehlen Methoden, Schemata, Host oder Felder</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 cannot be used: %2</source>
        <translation>%1 kann nicht verwendet werden: %2</translation>
    </message>
    <message>
        <source>no request to compare with what the service reads</source>
        <translation>keine Anfrage, die sich mit dem vergleichen ließe, was der Dienst liest</translation>
    </message>
    <message>
        <source>the sign-up region shows a frame whose sandbox does not allow forms: the browser blocks the submission of a form in it, and visitors&apos; sign-ups never leave</source>
        <translation>der Anmeldebereich zeigt einen Rahmen, dessen Sandbox keine Formulare erlaubt: Der Browser blockiert das Absenden eines Formulars darin, und die Anmeldungen der Besucher gehen nie hinaus</translation>
    </message>
    <message>
        <source>add allow-forms to the frame&apos;s sandbox attribute, or put the form in the page itself</source>
        <translation>nehmen Sie allow-forms in das Attribut sandbox des Rahmens auf, oder setzen Sie das Formular in die Seite selbst</translation>
    </message>
    <message>
        <source>the form&apos;s frame may not send forms</source>
        <translation>der Rahmen des Formulars darf keine Formulare senden</translation>
    </message>
    <message>
        <source>%1 is not shown: the hidden attribute of its &lt;%2&gt; hides it, %3</source>
        <translation>%1 wird nicht angezeigt: Das Attribut hidden des &lt;%2&gt; blendet das Element aus, %3</translation>
    </message>
    <message>
        <source>remove the hidden attribute</source>
        <translation>entfernen Sie das Attribut hidden</translation>
    </message>
    <message>
        <source>%1 is not shown: the style attribute of its &lt;%2&gt; hides it (%3), %4</source>
        <translation>%1 wird nicht angezeigt: Das Attribut style des &lt;%2&gt; blendet das Element aus (%3), %4</translation>
    </message>
    <message>
        <source>remove %1 from that style attribute</source>
        <translation>entfernen Sie %1 aus diesem Attribut style</translation>
    </message>
    <message>
        <source>%1 is not shown: a style rule hides its &lt;%2&gt; (%3), %4</source>
        <translation>%1 wird nicht angezeigt: Eine Stilregel blendet das &lt;%2&gt; aus (%3), %4</translation>
    </message>
    <message>
        <source>change the style rule (or the class) that hides this element</source>
        <translation>ändern Sie die Stilregel (oder die Klasse), die dieses Element ausblendet</translation>
    </message>
    <message>
        <source>the form is shown</source>
        <translation>das Formular wird angezeigt</translation>
    </message>
    <message>
        <source>the sign-up form</source>
        <translation>das Anmeldeformular</translation>
    </message>
    <message>
        <source>so visitors cannot sign up</source>
        <translation>sodass sich Besucher nicht anmelden können</translation>
    </message>
    <message>
        <source>the form is not shown: visitors cannot sign up</source>
        <translation>das Formular wird nicht angezeigt: Besucher können sich nicht anmelden</translation>
    </message>
    <message>
        <source>a field without a name</source>
        <translation>ein Feld ohne Namen</translation>
    </message>
    <message>
        <source>found no field a visitor can fill in</source>
        <translation>kein Feld gefunden, das ein Besucher ausfüllen kann</translation>
    </message>
    <message>
        <source>filled %1 with sample entries</source>
        <translation>%1 mit Beispieleingaben ausgefüllt</translation>
    </message>
    <message>
        <source>pressed %1: the form was sent</source>
        <translation>%1 gedrückt: Das Formular wurde gesendet</translation>
    </message>
    <message>
        <source>Enter not tried: no e-mail field a visitor can reach</source>
        <translation>Eingabetaste nicht versucht: kein E-Mail-Feld, das ein Besucher erreichen kann</translation>
    </message>
    <message>
        <source>Enter could not be tried: the key did not reach the page</source>
        <translation>Eingabetaste konnte nicht versucht werden: Die Taste hat die Seite nicht erreicht</translation>
    </message>
    <message>
        <source>Enter in the e-mail field does not send the sign-up form</source>
        <translation>die Eingabetaste im E-Mail-Feld sendet das Anmeldeformular nicht</translation>
    </message>
    <message>
        <source>Enter in the e-mail field sent nothing</source>
        <translation>die Eingabetaste im E-Mail-Feld hat nichts gesendet</translation>
    </message>
    <message>
        <source>Enter in the e-mail field sends nothing, though the button does: visitors who press Enter are not signed up</source>
        <translation>die Eingabetaste im E-Mail-Feld sendet nichts, obwohl die Schaltfläche sendet: Besucher, die die Eingabetaste drücken, werden nicht angemeldet</translation>
    </message>
    <message>
        <source>keep the form&apos;s submit button inside the form, enabled</source>
        <translation>behalten Sie die Absende-Schaltfläche des Formulars im Formular, aktiviert</translation>
    </message>
    <message>
        <source>pressed Enter in the e-mail field: the form was sent</source>
        <translation>Eingabetaste im E-Mail-Feld gedrückt: Das Formular wurde gesendet</translation>
    </message>
    <message>
        <source>the submit button %1</source>
        <translation>die Absende-Schaltfläche %1</translation>
    </message>
    <message>
        <source>so visitors have nothing to press</source>
        <translation>sodass Besucher nichts zum Drücken haben</translation>
    </message>
    <message>
        <source>the submit button is not shown</source>
        <translation>die Absende-Schaltfläche wird nicht angezeigt</translation>
    </message>
    <message>
        <source> (Enter in the e-mail field sends it, but not every visitor presses Enter)</source>
        <translation> (die Eingabetaste im E-Mail-Feld sendet es, aber nicht jeder Besucher drückt die Eingabetaste)</translation>
    </message>
    <message>
        <source>, and Enter in the e-mail field sends nothing either</source>
        <translation>, und auch die Eingabetaste im E-Mail-Feld sendet nichts</translation>
    </message>
    <message>
        <source>the form has no submit button: its &lt;button&gt; %1 has type=&quot;%2&quot;, which submits nothing%3</source>
        <translation>das Formular hat keine Absende-Schaltfläche: Sein &lt;button&gt; %1 hat type=&quot;%2&quot;, was nichts absendet%3</translation>
    </message>
    <message>
        <source>the form has no submit button: visitors have nothing to press%1</source>
        <translation>das Formular hat keine Absende-Schaltfläche: Besucher haben nichts zum Drücken%1</translation>
    </message>
    <message>
        <source>give the button type=&quot;submit&quot; (or no type)</source>
        <translation>geben Sie der Schaltfläche type=&quot;submit&quot; (oder keinen type)</translation>
    </message>
    <message>
        <source>add &lt;button type=&quot;submit&quot;&gt;Subscribe&lt;/button&gt; inside the form</source>
        <translation>fügen Sie &lt;button type=&quot;submit&quot;&gt;Subscribe&lt;/button&gt; in das Formular ein</translation>
    </message>
    <message>
        <source>found no submit button to press</source>
        <translation>keine Absende-Schaltfläche zum Drücken gefunden</translation>
    </message>
    <message>
        <source>pressed %1: nothing was sent</source>
        <translation>%1 gedrückt: Nichts wurde gesendet</translation>
    </message>
    <message>
        <source>the submit button %1 is outside the sign-up form: pressing it sends nothing</source>
        <translation>die Absende-Schaltfläche %1 liegt außerhalb des Anmeldeformulars: Ein Druck darauf sendet nichts</translation>
    </message>
    <message>
        <source>put the button inside the &lt;form&gt;, after its fields</source>
        <translation>setzen Sie die Schaltfläche in das &lt;form&gt;, nach seinen Feldern</translation>
    </message>
    <message>
        <source>the submit button %1 is disabled: pressing it does nothing</source>
        <translation>die Absende-Schaltfläche %1 ist deaktiviert: Ein Druck darauf bewirkt nichts</translation>
    </message>
    <message>
        <source>remove the disabled attribute</source>
        <translation>entfernen Sie das Attribut disabled</translation>
    </message>
    <message>
        <source>the browser refuses to send the form: the field %1 says &quot;%2&quot;%3</source>
        <translation>der Browser weigert sich, das Formular zu senden: Das Feld %1 meldet „%2“%3</translation>
    </message>
    <message>
        <source>, and visitors cannot see it</source>
        <translation>, und Besucher können es nicht sehen</translation>
    </message>
    <message>
        <source>make the field one a visitor can fill in, or remove the rule (required, pattern, type) it fails</source>
        <translation>machen Sie das Feld zu einem, das ein Besucher ausfüllen kann, oder entfernen Sie die Regel (required, pattern, type), die es nicht erfüllt</translation>
    </message>
    <message>
        <source>pressing %1 sends no form: a script of the page stops the submission, and the sign-up works only if that script sends it</source>
        <translation>ein Druck auf %1 sendet kein Formular: Ein Skript der Seite hält das Absenden an, und die Anmeldung funktioniert nur, wenn dieses Skript sie sendet</translation>
    </message>
    <message>
        <source>make sure the page&apos;s script that handles the form&apos;s submit event sends the sign-up to the service, or let the form send it</source>
        <translation>sorgen Sie dafür, dass das Skript der Seite, das das Ereignis submit des Formulars behandelt, die Anmeldung an den Dienst sendet, oder lassen Sie das Formular sie senden</translation>
    </message>
    <message>
        <source>the form is sent with %1, but the service reads %2 only: the sign-ups never arrive</source>
        <translation>das Formular wird mit %1 gesendet, aber der Dienst liest nur %2: Die Anmeldungen kommen nie an</translation>
    </message>
    <message>
        <source>write method=&quot;post&quot;</source>
        <translation>schreiben Sie method=&quot;post&quot;</translation>
    </message>
    <message>
        <source>the browser sends the form as %1, which the service cannot read: the sign-ups never arrive</source>
        <translation>der Browser sendet das Formular als %1, was der Dienst nicht lesen kann: Die Anmeldungen kommen nie an</translation>
    </message>
    <message>
        <source>remove the enctype attribute (the browser then sends %1)</source>
        <translation>entfernen Sie das Attribut enctype (der Browser sendet dann %1)</translation>
    </message>
    <message>
        <source>the form is sent to %1, not to the service at %2</source>
        <translation>das Formular wird an %1 gesendet, nicht an den Dienst unter %2</translation>
    </message>
    <message>
        <source>write the service&apos;s address, https://%1/..., as the wizard does</source>
        <translation>schreiben Sie die Adresse des Dienstes, https://%1/..., wie der Assistent es tut</translation>
    </message>
    <message>
        <source>the request has what the service reads</source>
        <translation>die Anfrage enthält, was der Dienst liest</translation>
    </message>
    <message>
        <source>the request differs from what the service reads (%1)</source>
        <translation>die Anfrage weicht von dem ab, was der Dienst liest (%1)</translation>
    </message>
    <message>
        <source>1 fault</source>
        <translation>1 Fehler</translation>
    </message>
    <message>
        <source>%1 faults</source>
        <translation>%1 Fehler</translation>
    </message>
    <message>
        <source>the field %1 is sent %2 times: the service reads one</source>
        <translation>das Feld %1 wird %2-mal gesendet: Der Dienst liest eines</translation>
    </message>
    <message>
        <source>remove the extra field named %1</source>
        <translation>entfernen Sie das zusätzliche Feld namens %1</translation>
    </message>
    <message>
        <source>the list id %1 is another tool&apos;s marker, not a list id: the service knows no such list</source>
        <translation>die Listen-ID %1 ist der Platzhalter eines anderen Werkzeugs, keine Listen-ID: Der Dienst kennt keine solche Liste</translation>
    </message>
    <message>
        <source>run Insert &gt; Ostrel... again with your list&apos;s user id</source>
        <translation>führen Sie Einfügen &gt; Ostrel... erneut aus, mit der Benutzerkennung Ihrer Liste</translation>
    </message>
    <message>
        <source>the form sends no field %1, which the service reads</source>
        <translation>das Formular sendet kein Feld %1, das der Dienst liest</translation>
    </message>
    <message>
        <source>put the field back as the wizard writes it (Insert &gt; Ostrel...)</source>
        <translation>setzen Sie das Feld wieder so ein, wie der Assistent es schreibt (Einfügen &gt; Ostrel...)</translation>
    </message>
    <message>
        <source>the fieldset around the field %1 is disabled: browsers send nothing for the fields in a disabled fieldset, so the service never gets them</source>
        <translation>das Fieldset um das Feld %1 ist deaktiviert: Browser senden nichts für die Felder in einem deaktivierten Fieldset, sodass der Dienst sie nie erhält</translation>
    </message>
    <message>
        <source>remove the fieldset&apos;s disabled attribute</source>
        <translation>entfernen Sie das Attribut disabled des Fieldsets</translation>
    </message>
    <message>
        <source>the field %1 is disabled: browsers send nothing for a disabled field, so the service never gets it</source>
        <translation>das Feld %1 ist deaktiviert: Browser senden nichts für ein deaktiviertes Feld, sodass der Dienst es nie erhält</translation>
    </message>
    <message>
        <source>the field %1 belongs to another form (its form attribute): it is sent with that form, not with the sign-up</source>
        <translation>das Feld %1 gehört zu einem anderen Formular (sein Attribut form): Es wird mit jenem Formular gesendet, nicht mit der Anmeldung</translation>
    </message>
    <message>
        <source>remove the field&apos;s form attribute</source>
        <translation>entfernen Sie das Attribut form des Feldes</translation>
    </message>
    <message>
        <source>the field %1 is outside the sign-up form: browsers do not send it with the form</source>
        <translation>das Feld %1 liegt außerhalb des Anmeldeformulars: Browser senden es nicht mit dem Formular</translation>
    </message>
    <message>
        <source>move the field inside the &lt;form&gt;</source>
        <translation>verschieben Sie das Feld in das &lt;form&gt;</translation>
    </message>
    <message>
        <source>the field %1 is not sent (a &lt;%2&gt; of type %3 that is not chosen)</source>
        <translation>das Feld %1 wird nicht gesendet (ein &lt;%2&gt; vom Typ %3, das nicht gewählt ist)</translation>
    </message>
    <message>
        <source>make it a field the visitor fills in, as the wizard writes it</source>
        <translation>machen Sie es zu einem Feld, das der Besucher ausfüllt, wie der Assistent es schreibt</translation>
    </message>
    <message>
        <source>the field %1 is sent empty, and the service needs a value</source>
        <translation>das Feld %1 wird leer gesendet, und der Dienst braucht einen Wert</translation>
    </message>
    <message>
        <source>run Insert &gt; Ostrel... again and fill in every entry</source>
        <translation>führen Sie Einfügen &gt; Ostrel... erneut aus und füllen Sie jede Eingabe aus</translation>
    </message>
    <message>
        <source>so visitors cannot fill it in and it is sent empty</source>
        <translation>sodass Besucher es nicht ausfüllen können und es leer gesendet wird</translation>
    </message>
    <message>
        <source>visitors cannot fill in the field %1 (it is read-only), and the service needs a value</source>
        <translation>Besucher können das Feld %1 nicht ausfüllen (es ist schreibgeschützt), und der Dienst braucht einen Wert</translation>
    </message>
    <message>
        <source>remove the readonly attribute</source>
        <translation>entfernen Sie das Attribut readonly</translation>
    </message>
    <message>
        <source>the field %1 is sent empty although the visitor filled it in</source>
        <translation>das Feld %1 wird leer gesendet, obwohl der Besucher es ausgefüllt hat</translation>
    </message>
    <message>
        <source>look at the page&apos;s scripts that change the form</source>
        <translation>sehen Sie sich die Skripte der Seite an, die das Formular ändern</translation>
    </message>
    <message>
        <source>no thank-you address to go to</source>
        <translation>keine Dankeseiten-Adresse, zu der es ginge</translation>
    </message>
    <message>
        <source>the thank-you address %1 is no web page</source>
        <translation>die Adresse der Dankeseite %1 ist keine Webseite</translation>
    </message>
    <message>
        <source>the service sends visitors to %1, on its own server</source>
        <translation>der Dienst schickt Besucher zu %1, auf seinem eigenen Server</translation>
    </message>
    <message>
        <source>thank-you page %1 not loaded: the site&apos;s published address is not known</source>
        <translation>Dankeseite %1 nicht geladen: Die veröffentlichte Adresse der Website ist nicht bekannt</translation>
    </message>
    <message>
        <source>thank-you page %1 not loaded: it lies outside the site</source>
        <translation>Dankeseite %1 nicht geladen: Sie liegt außerhalb der Website</translation>
    </message>
    <message>
        <source>the service sends visitors who sign up to %1, but the site has no file %2: they land on a missing page</source>
        <translation>der Dienst schickt Besucher, die sich anmelden, zu %1, aber die Website hat keine Datei %2: Sie landen auf einer fehlenden Seite</translation>
    </message>
    <message>
        <source>make that page, or correct the thank-you address</source>
        <translation>erstellen Sie diese Seite, oder korrigieren Sie die Adresse der Dankeseite</translation>
    </message>
    <message>
        <source>the thank-you page %1 does not exist</source>
        <translation>die Dankeseite %1 existiert nicht</translation>
    </message>
    <message>
        <source>the engine&apos;s answer could not be read</source>
        <translation>die Antwort der Engine konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>the rendered page has no sign-up region: nothing to rehearse</source>
        <translation>die dargestellte Seite hat keinen Anmeldebereich: nichts zu proben</translation>
    </message>
    <message>
        <source>the sign-up region holds no form: nothing to rehearse</source>
        <translation>der Anmeldebereich enthält kein Formular: nichts zu proben</translation>
    </message>
    <message>
        <source>loaded the thank-you page %1</source>
        <translation>die Dankeseite %1 geladen</translation>
    </message>
    <message>
        <source>the thank-you page %1 did not load</source>
        <translation>die Dankeseite %1 wurde nicht geladen</translation>
    </message>
    <message>
        <source>the thank-you page %1 does not load: visitors who sign up land on an error</source>
        <translation>die Dankeseite %1 lädt nicht: Besucher, die sich anmelden, landen auf einem Fehler</translation>
    </message>
    <message>
        <source>make sure the file can be read</source>
        <translation>sorgen Sie dafür, dass die Datei gelesen werden kann</translation>
    </message>
    <message>
        <source>the rehearsal did not run: %1</source>
        <translation>der Probelauf lief nicht: %1</translation>
    </message>
</context>
<context>
    <name>host::site::RegionReviewDialog</name>
    <message>
        <source>Update &quot;%1&quot; on other pages</source>
        <translation>„%1“ auf anderen Seiten aktualisieren</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>The checked pages get the content that &quot;%1&quot; has on this page:</source>
        <translation>Die angekreuzten Seiten erhalten den Inhalt, den „%1“ auf dieser Seite hat:</translation>
    </message>
    <message>
        <source>Open Site</source>
        <translation>Website öffnen</translation>
    </message>
</context>
<context>
    <name>host::site::RegionUpdateBar</name>
    <message>
        <source>Review...</source>
        <translation>Durchsehen...</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Not Now</source>
        <translation>Nicht jetzt</translation>
    </message>
</context>
<context>
    <name>host::site::SiteController</name>
    <message>
        <source>1 page</source>
        <translation>1 Seite</translation>
    </message>
    <message>
        <source>%1 pages</source>
        <translation>%1 Seiten</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Open &amp;Site...</source>
        <translation>&amp;Website öffnen...</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>Undo Site &amp;Update</source>
        <translation>Website-&amp;Aktualisierung rückgängig</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Open Site</source>
        <translation>Website öffnen</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 ist kein Ordner.</translation>
    </message>
    <message>
        <source>%1 (site)</source>
        <translation>%1 (Website)</translation>
    </message>
    <message>
        <source>Looking for the changed region on the site&apos;s pages</source>
        <translation>Der geänderte Bereich wird auf den Seiten der Website gesucht</translation>
    </message>
    <message>
        <source>Looking for the changed region cancelled.</source>
        <translation>Suche nach dem geänderten Bereich abgebrochen.</translation>
    </message>
    <message>
        <source>1 other page of the site holds it: update it too?</source>
        <translation>1 andere Seite der Website enthält ihn: auch sie aktualisieren?</translation>
    </message>
    <message>
        <source>%1 other pages of the site hold it: update them too?</source>
        <translation>%1 andere Seiten der Website enthalten ihn: auch sie aktualisieren?</translation>
    </message>
    <message>
        <source>The element %1 changed on this page. %2</source>
        <translation>Das Element %1 hat sich auf dieser Seite geändert. %2</translation>
    </message>
    <message>
        <source>Update Site</source>
        <translation>Website aktualisieren</translation>
    </message>
    <message>
        <source>The page no longer holds one element %1; nothing was updated.</source>
        <translation>Die Seite enthält nicht mehr genau ein Element %1; nichts wurde aktualisiert.</translation>
    </message>
    <message>
        <source> (open: changed in the editor, not saved)</source>
        <translation> (offen: im Editor geändert, nicht gespeichert)</translation>
    </message>
    <message>
        <source> - holds the id %1 times, will not be changed</source>
        <translation> - enthält die ID %1-mal, wird nicht geändert</translation>
    </message>
    <message>
        <source>The page could not be read or no longer holds one element with the id.</source>
        <translation>Die Seite konnte nicht gelesen werden oder enthält nicht mehr genau ein Element mit der ID.</translation>
    </message>
    <message>
        <source>Updating %1 on the site&apos;s pages</source>
        <translation>%1 wird auf den Seiten der Website aktualisiert</translation>
    </message>
    <message>
        <source>Site update cancelled; no page was changed.</source>
        <translation>Website-Aktualisierung abgebrochen; keine Seite wurde geändert.</translation>
    </message>
    <message>
        <source> (open, not saved)</source>
        <translation> (offen, nicht gespeichert)</translation>
    </message>
    <message>
        <source>Writing the updated pages</source>
        <translation>Die aktualisierten Seiten werden geschrieben</translation>
    </message>
    <message>
        <source>Undo Site Update</source>
        <translation>Website-Aktualisierung rückgängig</translation>
    </message>
    <message>
        <source>%1: %2 changed, %3 left as %4.</source>
        <translation>%1: %2 geändert, %3 so gelassen, wie %4.</translation>
    </message>
    <message>
        <source>it was</source>
        <translation>sie war</translation>
    </message>
    <message>
        <source>they were</source>
        <translation>sie waren</translation>
    </message>
    <message>
        <source>%1 changed. These were left as they were:

%2</source>
        <translation>%1 geändert. Diese blieben, wie sie waren:

%2</translation>
    </message>
    <message>
        <source>Site</source>
        <translation>Website</translation>
    </message>
    <message>
        <source>there was not enough memory</source>
        <translation>Es war nicht genug Speicher frei</translation>
    </message>
    <message>
        <source>%1 stopped: %2. The pages open in the editor are as they were.%3</source>
        <translation>%1 angehalten: %2. Die im Editor offenen Seiten sind, wie sie waren.%3</translation>
    </message>
    <message>
        <source> Close other pages or programs and try again.</source>
        <translation> Schließen Sie andere Seiten oder Programme und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>an unexpected failure</source>
        <translation>ein unerwarteter Fehler</translation>
    </message>
</context>
<context>
    <name>host::site::SitePanel</name>
    <message>
        <source>Site</source>
        <translation>Website</translation>
    </message>
    <message>
        <source>The address these pages are published at. The sign-up form check uses it to tell whether the pages are served over https and whether a thank-you page is one of them.</source>
        <translation>Die Adresse, unter der diese Seiten veröffentlicht sind. Die Prüfung des Anmeldeformulars erkennt daran, ob die Seiten über https ausgeliefert werden und ob eine Dankeseite eine von ihnen ist.</translation>
    </message>
    <message>
        <source>&amp;Published at:</source>
        <translation>&amp;Veröffentlicht unter:</translation>
    </message>
    <message>
        <source>Site: %1</source>
        <translation>Website: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a full http: or https: address, such as https://www.your-site.example/. It is not kept.</source>
        <translation>„%1“ ist keine vollständige http:- oder https:-Adresse wie https://www.your-site.example/. Sie wird nicht übernommen.</translation>
    </message>
</context>
<context>
    <name>host::site::SiteUpdate</name>
    <message>
        <source>line %1, column %2</source>
        <translation>Zeile %1, Spalte %2</translation>
    </message>
    <message>
        <source>there was not enough memory to %1, so it was not changed. Close other programs and update again, or update its region in the editor</source>
        <translation>es war nicht genug Speicher frei, um %1, daher wurde sie nicht geändert. Schließen Sie andere Programme und aktualisieren Sie erneut, oder aktualisieren Sie ihren Bereich im Editor</translation>
    </message>
    <message>
        <source>the page has %1 elements with the id &quot;%2&quot; (%3); an id names one element, so none was changed. Give the others another id.</source>
        <translation>die Seite hat %1 Elemente mit der ID „%2“ (%3); eine ID benennt ein Element, daher wurde keines geändert. Geben Sie den anderen eine andere ID.</translation>
    </message>
    <message>
        <source>the new content holds the character U+%1, which this page&apos;s encoding cannot hold; write it as the reference &amp;#%2; and update again. The page was not changed.</source>
        <translation>der neue Inhalt enthält das Zeichen U+%1, das die Kodierung dieser Seite nicht aufnehmen kann; schreiben Sie es als Referenz &amp;#%2; und aktualisieren Sie erneut. Die Seite wurde nicht geändert.</translation>
    </message>
    <message>
        <source>the file changed on disk after the update was planned; it was left as it is. Run the update again to include it.</source>
        <translation>die Datei hat sich auf dem Datenträger geändert, nachdem die Aktualisierung geplant wurde; sie blieb, wie sie ist. Führen Sie die Aktualisierung erneut aus, um sie einzubeziehen.</translation>
    </message>
    <message>
        <source>; the page was not changed.</source>
        <translation>; die Seite wurde nicht geändert.</translation>
    </message>
    <message>
        <source>it was changed after the update; it was left as it is</source>
        <translation>sie wurde nach der Aktualisierung geändert; sie blieb, wie sie ist</translation>
    </message>
    <message>
        <source>its name is not UTF-8 text</source>
        <translation>ihr Name ist kein UTF-8-Text</translation>
    </message>
    <message>
        <source>its path is longer than the system allows</source>
        <translation>ihr Pfad ist länger, als das System erlaubt</translation>
    </message>
    <message>
        <source>read</source>
        <translation>sie zu lesen</translation>
    </message>
    <message>
        <source>update it</source>
        <translation>sie zu aktualisieren</translation>
    </message>
    <message>
        <source>plan its update</source>
        <translation>ihre Aktualisierung zu planen</translation>
    </message>
    <message>
        <source> (it leads to a folder)</source>
        <translation> (er führt zu einem Ordner)</translation>
    </message>
    <message>
        <source>it cannot be read: %1</source>
        <translation>sie kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>; it was not read</source>
        <translation>; sie wurde nicht gelesen</translation>
    </message>
</context>
</TS>
