// The scripted road that an unattended run of the editor plays: its steps and their text
// form, one step a line.
#pragma once

#include <QString>
#include <stdexcept>
#include <vector>

namespace host {

// Text form, one step a line ('#' starts a comment line):
//   shot NAME                 picture of the editor window, saved as NAME.png
//   rendered-shot NAME        picture of the active page's rendered view, saved as NAME.png
//   click BAR CAPTION         clicks the control with that caption on that command bar
//   dialog-shot NAME          picture of the open modal dialog, saved as NAME.png
//   dialog-click OBJECTNAME   clicks the dialog's button of that object name
//   dialog-text OBJECTNAME TEXT   types TEXT (the rest of the line) into that text box
//   dialog-read NAME          the open modal dialog's texts, saved as NAME.txt
//   menu OBJECTNAME           chooses the window's menu item of that object name
//   wait-closed               waits until no modal dialog is open
//   save                      saves the active page (File > Save)
// A dialog step waits for a modal dialog (and its button to be enabled); every other step
// waits until none is open. Pictures of the editor wait until the rendered page shows the
// latest text.
struct TourStep {
    enum class Kind {
        Shot,
        RenderedShot,
        Click,
        DialogShot,
        DialogClick,
        DialogText,
        DialogRead,
        Menu,
        WaitClosed,
        Save
    };
    Kind kind;
    QString target;    // picture name, bar name or object name
    QString argument;  // caption or text
    int line = 0;

    bool needsDialog() const {
        return kind == Kind::DialogShot || kind == Kind::DialogClick || kind == Kind::DialogText ||
               kind == Kind::DialogRead;
    }
    QString describe() const;
};

class TourScriptError : public std::runtime_error {
public:
    explicit TourScriptError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// Throws TourScriptError naming the line of the first step it cannot read.
std::vector<TourStep> parseTourScript(const QString& text);

// The author's typical road through the Ostrel wizard: a user id, the web form with its
// usual details, Finish, then the page is saved.
QString defaultTourScript();

}  // namespace host
