// The keyboard's way between the three parts of the editor: the page's source, its rendered
// page and the Form Check panel. F6 goes to the next part shown, Shift+F6 to the one before,
// and the View menu's Focus items go to each, showing it first when it is hidden.
#pragma once

#include <QObject>
#include <vector>

class QMenu;
class QWidget;

namespace host {

class EditorWindow;
class ViewOptions;

class PartFocus : public QObject {
    Q_OBJECT
public:
    enum class Part { source, rendered, formCheck };

    // Adds F6, Shift+F6 and the Focus items to `viewMenu`.
    PartFocus(EditorWindow& window, ViewOptions& options, QMenu& viewMenu);

    // The part that holds the keyboard focus now, if any.
    bool focusedPart(Part* part) const;
    // Shows the part when it is hidden and gives it the focus.
    void focus(Part part);
    // To the next (or previous) part shown, round the end; to the first or the last when
    // the focus is in none of them.
    void cycle(bool forward);

private:
    // The widget that takes the focus for `part`; null when the part is not there.
    QWidget* widgetOf(Part part) const;

    EditorWindow& m_window;
    ViewOptions& m_options;
};

}  // namespace host
