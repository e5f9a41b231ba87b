<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>StringTable</name>
    <message>
        <source>Existing Account: <byte value="xd"/>
In order to use the Ostrel FrontPage Plug-In, you must have an account with Ostrel. If you already have an account, click the &apos;Next&apos; button below. If you don&apos;t have an account, you can get a new account by clicking on the &apos;Create New Ostrel Account&apos; button below.<byte value="xd"/>
 To read more about this plug-in, click the &apos;Visit Publisher Web Site&apos; button to go to the publisher&apos;s web site. </source>
        <comment>101</comment>
        <translation>Bestehendes Konto: <byte value="xd"/>
Um das Ostrel-FrontPage-Plug-In zu nutzen, brauchen Sie ein Konto bei Ostrel. Wenn Sie schon ein Konto haben, klicken Sie unten auf „Weiter“. Wenn Sie noch keines haben, können Sie mit der Schaltfläche „Neues Ostrel-Konto anlegen“ unten ein neues Konto anlegen.<byte value="xd"/>
 Mehr über dieses Plug-In erfahren Sie auf der Website des Herausgebers: Klicken Sie dazu auf „Website des Herausgebers besuchen“. </translation>
    </message>
    <message>
        <source>Your Ostrel User Id:<byte value="xd"/>
 Please enter your Ostrel username or unit id.</source>
        <comment>102</comment>
        <translation>Ihre Ostrel-Benutzerkennung:<byte value="xd"/>
 Bitte geben Sie Ihren Ostrel-Benutzernamen oder Ihre Einheitenkennung ein.</translation>
    </message>
    <message>
        <source>Email Link or Web Form:<byte value="xd"/>
 This Plug-In can generate either an Ostrel email link or an Ostrel web form. Please check on your preference. We recommend the web form for most users.</source>
        <comment>103</comment>
        <translation>E-Mail-Link oder Webformular:<byte value="xd"/>
 Dieses Plug-In kann entweder einen Ostrel-E-Mail-Link oder ein Ostrel-Webformular erzeugen. Bitte wählen Sie, was Sie bevorzugen. Für die meisten Benutzer empfehlen wir das Webformular.</translation>
    </message>
    <message>
        <source>Web Form Heading:<byte value="xd"/>
 Please enter the text you want displayed in the web form. I.E. &apos;Join Our Free Mailing List&apos;</source>
        <comment>104</comment>
        <translation>Überschrift des Webformulars:<byte value="xd"/>
 Bitte geben Sie den Text ein, den das Webformular zeigen soll, z. B. „Abonnieren Sie unseren kostenlosen Newsletter“</translation>
    </message>
    <message>
        <source>Thank You Page URL:<byte value="xd"/>
 After your prospective customer clicks the &quot;Submit&quot; button, he will be taken to a &quot;Thank You&quot; web page. You need to create your own &quot;Thank You&quot; page. Please enter the URL for the &quot;Thank you&quot; page. (Note: Please enter full URL. I.E. http://www.yourdomain.example/thankyou.htm)</source>
        <comment>105</comment>
        <translation>Adresse der Dankesseite:<byte value="xd"/>
 Nachdem Ihr künftiger Kunde auf „Submit“ geklickt hat, kommt er auf eine Dankesseite. Diese Dankesseite legen Sie selbst an. Bitte geben Sie ihre Adresse (URL) ein. (Hinweis: Bitte die vollständige Adresse angeben, z. B. http://www.yourdomain.example/thankyou.htm)</translation>
    </message>
    <message>
        <source>Ad Tracking:<byte value="xd"/>
 To incorporate the Ostrel ad-tracking feature into your web form, please enter the tracking value you would like to use. For example, &quot;ezine_ad&quot;, &quot;website&quot;, &quot;postcard1&quot;, or any other text you use to describe the ad. Please make sure the category contains less than 20 characters.</source>
        <comment>106</comment>
        <translation>Anzeigen-Tracking:<byte value="xd"/>
 Um die Anzeigen-Tracking-Funktion von Ostrel in Ihr Webformular einzubauen, geben Sie bitte den Tracking-Wert ein, den Sie verwenden möchten, zum Beispiel „ezine_ad“, „website“, „postcard1“ oder einen anderen Text, der die Anzeige beschreibt. Bitte achten Sie darauf, dass die Kategorie weniger als 20 Zeichen hat.</translation>
    </message>
    <message>
        <source>Message Number:<byte value="xd"/>
 Please select the message number you would like the prospective customer to start on after their information is submitted. If you enter 1, they will start at the beginning of the auto responder series. If you enter 4, they will start with the 4th message in the series. Click the &quot;Do Not Place into Auroresponder Series&quot; if you do not want them placed in the series. </source>
        <comment>107</comment>
        <translation>Nachrichtennummer:<byte value="xd"/>
 Bitte wählen Sie die Nummer der Nachricht, mit der der künftige Kunde beginnen soll, nachdem er seine Angaben abgeschickt hat. Geben Sie 1 ein, beginnt er am Anfang der Autoresponder-Serie. Geben Sie 4 ein, beginnt er mit der 4. Nachricht der Serie. Klicken Sie auf „Nicht in die Autoresponder-Serie aufnehmen“, wenn er nicht in die Serie aufgenommen werden soll. </translation>
    </message>
    <message>
        <source>Required Fields:<byte value="xd"/>
 By default, both the Name and Email Address fields are required for the prospective customer to submit the web form. Uncheck either of the boxes below to change the required fields. <byte value="xd"/>
Click the &apos;Finish&apos; button to create your Ostrel web form.</source>
        <comment>108</comment>
        <translation>Pflichtfelder:<byte value="xd"/>
 Standardmäßig muss der künftige Kunde sowohl den Namen als auch die E-Mail-Adresse angeben, um das Webformular abzusenden. Entfernen Sie das Häkchen bei einem der Kästchen unten, um die Pflichtfelder zu ändern. <byte value="xd"/>
Klicken Sie auf „Fertig stellen“, um Ihr Ostrel-Webformular zu erstellen.</translation>
    </message>
    <message>
        <source>Email Link Text:<byte value="xd"/>
 Please enter the text that will be displayed on the email link.<byte value="xd"/>
 Click the &apos;Finish&apos; button to insert the link.</source>
        <comment>109</comment>
        <translation>Text des E-Mail-Links:<byte value="xd"/>
 Bitte geben Sie den Text ein, den der E-Mail-Link zeigen soll.<byte value="xd"/>
 Klicken Sie auf „Fertig stellen“, um den Link einzufügen.</translation>
    </message>
</context>
<context>
    <name>frmOstWiz</name>
    <message>
        <source>Ostrel Autoresponder Wizard</source>
        <translation>Ostrel-Autoresponder-Assistent</translation>
    </message>
    <message>
        <source>Ostrel FrontPage Plug-In</source>
        <translation>Ostrel-FrontPage-Plug-In</translation>
    </message>
    <message>
        <source>Jointly by www.ostrel.example &amp; www.publisher.example</source>
        <translation>Gemeinsam von www.ostrel.example &amp; www.publisher.example</translation>
    </message>
    <message>
        <source>Page instructions</source>
        <translation>Anleitung zur Seite</translation>
    </message>
    <message>
        <source>Create New Ostrel Account</source>
        <translation>Neues Ostrel-Konto anlegen</translation>
    </message>
    <message>
        <source>Visit Publisher Web Site</source>
        <translation>Website des Herausgebers besuchen</translation>
    </message>
    <message>
        <source>Email Link</source>
        <translation>E-Mail-Link</translation>
    </message>
    <message>
        <source>Web Form</source>
        <translation>Webformular</translation>
    </message>
    <message>
        <source>Mail to link text:</source>
        <translation>Text des E-Mail-Links:</translation>
    </message>
    <message>
        <source>Do Not Place into Auroresponder Series</source>
        <translation>Nicht in die Autoresponder-Serie aufnehmen</translation>
    </message>
    <message>
        <source>Require User Name</source>
        <translation>Namen verlangen</translation>
    </message>
    <message>
        <source>Require User Email</source>
        <translation>E-Mail-Adresse verlangen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Weiter</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>&amp;Fertig stellen</translation>
    </message>
</context>
</TS>
