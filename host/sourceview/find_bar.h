// The find and replace bar under a source view.
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace host {

// Enter finds the next match, Shift+Enter the one before, Escape closes the bar. The
// replace row shows only when the bar was opened for replacing, and never on a page that
// is read-only.
class FindBar final : public QWidget {
    Q_OBJECT
public:
    explicit FindBar(QPlainTextEdit& editor);

    // Shows the bar with the editor's one-line selection as the text to find.
    void open(bool replacing);
    void findNext();
    void findPrevious();
    // Replaces the selected match, if the selection is one, and goes on to the next.
    void replace();
    void replaceAll();

    QLineEdit* findField() const { return m_find; }
    QLineEdit* replaceField() const { return m_replace; }
    QCheckBox* matchCase() const { return m_matchCase; }
    QString status() const;

signals:
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void find(bool backward, bool fromSelectionStart = false);
    bool selectionIsMatch() const;
    void setReplacing(bool replacing);

    QPlainTextEdit& m_editor;
    QLineEdit* m_find;
    QLineEdit* m_replace;
    QCheckBox* m_matchCase;
    QLabel* m_status;
    QWidget* m_replaceRow;
};

}  // namespace host
