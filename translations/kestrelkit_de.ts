<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>Description</name>
    <message>
        <source>%1 Utility </source>
        <extracomment>The description&apos;s title line: %1 is the component&apos;s folder name in upper case.</extracomment>
        <translation>Dienstprogramm %1 </translation>
    </message>
    <message>
        <source>Executable: </source>
        <extracomment>Before the file name of the component&apos;s program.</extracomment>
        <translation>Programmdatei: </translation>
    </message>
    <message>
        <source>Image: </source>
        <extracomment>Before the file name of the component&apos;s picture.</extracomment>
        <translation>Bild: </translation>
    </message>
    <message>
        <source>Its program is missing, so it cannot be started.</source>
        <translation>Das Programm fehlt, deshalb lässt es sich nicht starten.</translation>
    </message>
</context>
<context>
    <name>Discovery</name>
    <message>
        <source>WARNING: no components were found.<byte value="xd"/>
Make sure that the components were installed properly.</source>
        <translation>WARNUNG: Es wurden keine Komponenten gefunden.<byte value="xd"/>
Bitte prüfen Sie, ob die Komponenten richtig installiert sind.</translation>
    </message>
    <message>
        <source>No Components Found...</source>
        <translation>Keine Komponenten gefunden...</translation>
    </message>
</context>
<context>
    <name>ErrorTrap</name>
    <message>
        <source>Error::%1<byte value="xd"/>
</source>
        <translation>Fehler::%1<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Error::Kestrelkit</source>
        <translation>Fehler::Kestrelkit</translation>
    </message>
</context>
<context>
    <name>FileExists</name>
    <message>
        <source>Error determining file exist --&gt; %1::%2</source>
        <extracomment>%1 is the path looked for, %2 what went wrong.</extracomment>
        <translation>Fehler beim Prüfen, ob die Datei existiert --&gt; %1::%2</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>%1 is already Running...</source>
        <extracomment>%1 is the executable&apos;s name.</extracomment>
        <translation>%1 läuft bereits...</translation>
    </message>
    <message>
        <source>Already running...</source>
        <translation>Läuft bereits...</translation>
    </message>
</context>
<context>
    <name>Picture</name>
    <message>
        <source>%1 x %2 pixels, more than a picture may take</source>
        <translation>%1 x %2 Pixel, mehr als ein Bild haben darf</translation>
    </message>
    <message>
        <source>an SVG larger than %1 bytes is not taken</source>
        <translation>ein SVG über %1 Byte wird nicht angenommen</translation>
    </message>
    <message>
        <source>the file is cut short</source>
        <translation>die Datei ist unvollständig</translation>
    </message>
    <message>
        <source>the SVG declares a document type</source>
        <translation>das SVG deklariert einen Dokumenttyp</translation>
    </message>
    <message>
        <source>the SVG refers to an entity</source>
        <translation>das SVG verweist auf eine Entität</translation>
    </message>
    <message>
        <source>the SVG nests more than %1 elements deep</source>
        <translation>das SVG verschachtelt Elemente mehr als %1 Ebenen tief</translation>
    </message>
    <message>
        <source>the SVG holds more than %1 elements</source>
        <translation>das SVG enthält mehr als %1 Elemente</translation>
    </message>
    <message>
        <source>the SVG declares a side of %1 pixels, more than a picture may take</source>
        <translation>das SVG gibt eine Seite von %1 Pixeln an, mehr als ein Bild haben darf</translation>
    </message>
    <message>
        <source>the SVG repeats shapes more than %1 times</source>
        <translation>das SVG wiederholt Formen mehr als %1-mal</translation>
    </message>
    <message>
        <source>the SVG names a resource outside itself</source>
        <translation>das SVG verweist auf eine Ressource außerhalb der Datei</translation>
    </message>
    <message>
        <source>the SVG is not well-formed: %1</source>
        <translation>das SVG ist nicht wohlgeformt: %1</translation>
    </message>
    <message>
        <source>a compressed SVG is not taken</source>
        <translation>ein komprimiertes SVG wird nicht angenommen</translation>
    </message>
    <message>
        <source>the SVG cannot be drawn</source>
        <translation>das SVG lässt sich nicht zeichnen</translation>
    </message>
</context>
<context>
    <name>QImageReader</name>
    <message>
        <source>Unable to read image data</source>
        <translation>Die Bilddaten lassen sich nicht lesen</translation>
    </message>
</context>
<context>
    <name>RuntimeError</name>
    <message>
        <source>its interpreter or loader was not found</source>
        <translation>sein Interpreter oder Loader wurde nicht gefunden</translation>
    </message>
    <message>
        <source>file larger than %1 bytes</source>
        <translation>Datei größer als %1 Byte</translation>
    </message>
    <message>
        <source>Division by zero</source>
        <translation>Division durch Null</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Überlauf</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genügend Arbeitsspeicher</translation>
    </message>
    <message>
        <source>Subscript out of range</source>
        <translation>Index außerhalb des gültigen Bereichs</translation>
    </message>
    <message>
        <source>Bad file name</source>
        <translation>Ungültiger Dateiname</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>Device I/O error</source>
        <translation>E/A-Gerätefehler</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>Path/File access error</source>
        <translation>Fehler beim Zugriff auf Pfad/Datei</translation>
    </message>
    <message>
        <source>Path not found</source>
        <translation>Pfad nicht gefunden</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Ungültiges Bild</translation>
    </message>
    <message>
        <source>Application-defined or object-defined error</source>
        <translation>Anwendungs- oder objektdefinierter Fehler</translation>
    </message>
    <message>
        <source>a loop of links</source>
        <translation>eine Schleife symbolischer Links</translation>
    </message>
    <message>
        <source>not a plain file</source>
        <translation>keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>a folder, not a program</source>
        <translation>ein Ordner, kein Programm</translation>
    </message>
    <message>
        <source>not executable</source>
        <translation>nicht ausführbar</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>%1 is the kind of error, %2 the path.</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1 (%2): %3</source>
        <extracomment>%1 is the kind of error, %2 what in particular, %3 the path.</extracomment>
        <translation>%1 (%2): %3</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>CopyRight</source>
        <translation>Copyright</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>This software is provided as is.</source>
        <translation>Diese Software wird ohne Gewähr bereitgestellt.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About %1</source>
        <extracomment>%1 is the application&apos;s title.</extracomment>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>Version %1</source>
        <extracomment>%1 is the version number, as 1.1.0.</extracomment>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Programmed by: %1   </source>
        <extracomment>%1 is the author&apos;s name; the three blanks after it keep it clear of the label&apos;s border.</extracomment>
        <translation>Programmiert von: %1   </translation>
    </message>
    <message>
        <source>This software is provided as-is, with no warranties and/or support expressed or implied.  By using this software, you agree to indemnify Vessaly Software Solutions and the author(s) of all damages associated with the use of this software.  <byte value="xd"/>
<byte value="xd"/>
This program is protected by copyright laws.  Copying or reselling this program, or any portion of it, unless otherwise noted, may result in severe civil and criminal penalties, and will be prosecuted to the maximum extent possible under the law.<byte value="xd"/>
<byte value="xd"/>
Email all bugs to: %1<byte value="xd"/>
</source>
        <extracomment>%1 is the e-mail address for bug reports. The box has no scroll bar: the whole notice must fit it.</extracomment>
        <translation>Diese Software wird ohne Gewähr und ohne ausdrückliche oder stillschweigende Garantie und/oder Unterstützung bereitgestellt.  Mit ihrer Nutzung stellen Sie Vessaly Software Solutions und den/die Autor(en) von allen Schäden frei, die daraus entstehen.  <byte value="xd"/>
<byte value="xd"/>
Dieses Programm ist urheberrechtlich geschützt.  Wer dieses Programm oder Teile davon ohne ausdrückliche Erlaubnis kopiert oder weiterverkauft, muss mit empfindlichen zivil- und strafrechtlichen Folgen rechnen und wird im vollen gesetzlichen Umfang verfolgt.<byte value="xd"/>
<byte value="xd"/>
Fehler bitte per E-Mail an: %1<byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>frmGettingHelp</name>
    <message>
        <source>Getting Help From Vessaly Software Solutions, Inc.</source>
        <translation>Hilfe von Vessaly Software Solutions, Inc.</translation>
    </message>
    <message>
        <source>Click to goto %1</source>
        <extracomment>%1 is the host name of the maker&apos;s web site.</extracomment>
        <translation>Klicken, um %1 zu öffnen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>This version of the %1 is provided as-is and free of charge and without warranty and/or support expressed or implied. By using this software you agree to indemnify Vessaly Software Solutions, Inc. and the author(s) of damages associated with the use of this software<byte value="xd"/>
<byte value="xd"/>
Vessaly Software Solutions, Inc. can assist your organization in configuring this software by providing on-site support and/or training.  In addition, Vessaly Software can customize, modify and/or enhance this tool to better suite your organization.<byte value="xd"/>
<byte value="xd"/>
</source>
        <extracomment>%1 is the application&apos;s title. The two empty lines at the end belong to the label.</extracomment>
        <translation>Diese Version von %1 wird kostenlos und ohne Gewähr bereitgestellt, ohne ausdrückliche oder stillschweigende Garantie und/oder Unterstützung. Mit der Nutzung dieser Software stellen Sie Vessaly Software Solutions, Inc. und den/die Autor(en) von Schäden frei, die mit der Nutzung dieser Software zusammenhängen<byte value="xd"/>
<byte value="xd"/>
Vessaly Software Solutions, Inc. unterstützt Ihr Unternehmen gern bei der Einrichtung dieser Software mit Hilfe vor Ort und/oder Schulungen.  Außerdem kann Vessaly Software dieses Werkzeug für Ihr Unternehmen anpassen, ändern und/oder erweitern.<byte value="xd"/>
<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>For more information on pricing, availability, end-user support and upgrade information relating to product features and/or Vessaly&apos;s support services, contact: </source>
        <translation>Mehr über Preise, Verfügbarkeit, Support für Endanwender, neue Produktfunktionen und/oder die Supportleistungen von Vessaly erfahren Sie bei: </translation>
    </message>
    <message>
        <source>Email: %1<byte value="xd"/>
Phone: %2</source>
        <extracomment>%1 is the support e-mail address, %2 the support telephone number.</extracomment>
        <translation>E-Mail: %1<byte value="xd"/>
Telefon: %2</translation>
    </message>
    <message>
        <source>Submit bugs to: %1</source>
        <extracomment>%1 is the e-mail address for bug reports.</extracomment>
        <translation>Fehler melden an: %1</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Vessaly Software Solutions</source>
        <translation>Vessaly Software Solutions</translation>
    </message>
    <message>
        <source>Description panel</source>
        <translation>Beschreibungsbereich</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Select the utility to run.</source>
        <translation>Wählen Sie das zu startende Dienstprogramm.</translation>
    </message>
    <message>
        <source>Components</source>
        <translation>Komponenten</translation>
    </message>
    <message>
        <source>Page up</source>
        <translation>Vorige Seite</translation>
    </message>
    <message>
        <source>Page down</source>
        <translation>Nächste Seite</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Getting Help From Vessaly</source>
        <translation>Hilfe von Vessaly</translation>
    </message>
    <message>
        <source>Content</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Kestrelkit Launcher - Vessaly Software Solutions, Inc - </source>
        <extracomment>The main window&apos;s caption; the version follows it.</extracomment>
        <translation>Kestrelkit Launcher - Vessaly Software Solutions, Inc - </translation>
    </message>
    <message>
        <source> Version </source>
        <extracomment>Between the window&apos;s caption and the version number, with a blank before and after.</extracomment>
        <translation> Version </translation>
    </message>
    <message>
        <source>Error::%1<byte value="xd"/>
(KK)::Could not Find Any components<byte value="xd"/>
</source>
        <extracomment>The first line holds the description of what went wrong.</extracomment>
        <translation>Fehler::%1<byte value="xd"/>
(KK)::Es konnten keine Komponenten gefunden werden<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Kestrelkit Error: findComponents()</source>
        <translation>Kestrelkit-Fehler: findComponents()</translation>
    </message>
</context>
</TS>
