<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- A few German texts, to show that a translation file reaches every kind of
     text: a dialog's caption, a message made in the core and a message made
     outside any class. -->
<TS version="2.1" language="de_DE">
<context>
    <name>CCOMChooseDlg</name>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>Exchange</name>
    <message>
        <source>No communication, please check connection to logger!</source>
        <translation>Keine Verbindung, bitte die Verbindung zum Logger prüfen!</translation>
    </message>
</context>
<context>
    <name>PortOpenFailure</name>
    <message>
        <source>Error could not create handle to serial port!</source>
        <translation>Fehler: Die serielle Schnittstelle kann nicht geöffnet werden!</translation>
    </message>
</context>
</TS>
