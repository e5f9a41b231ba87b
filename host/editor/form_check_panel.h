// The Form Check panel below the page: what is wrong with the page's sign-up form, where
// (line:column, a jump to the source), and what to do. It runs by itself after an add-in's
// insertion and after a site update, and on demand (Tools > Check Sign-up Form).
#pragma once

#include <QDockWidget>
#include <QString>
#include <map>
#include <vector>

#include "host/formcheck/form_finding.h"
#include "host/formcheck/rehearsal_findings.h"

class QAction;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace host {

class EditorWindow;
class FormRehearsalRunner;
class Page;

class FormCheckPanel : public QDockWidget {
    Q_OBJECT
public:
    // Docks itself below the page area of `window`, hidden, and adds its command to the
    // window's Tools menu.
    explicit FormCheckPanel(EditorWindow& window);
    ~FormCheckPanel() override;

    // Checks the page and shows the panel: the page's text at once (host/formcheck), then
    // the rendered form's accessibility audit when the rendered view answers. A check that
    // runs by itself leaves the audit of a very large page to the author's request.
    enum class Start { byItself, asked };
    void check(Page* page, Start start);

    // What it shows for the active page: the summary line, the audit's state, the findings
    // (in the order listed).
    QString summary() const;
    QString auditState() const;
    // The rehearsal's steps, in order (passed ones on one line), or that it runs.
    QString rehearsalState() const;
    QTreeWidget* list() const { return m_list; }
    // True while the page's audit or rehearsal has not answered.
    bool isChecking(const Page* page) const;
    // The findings of the page's last check: page, rehearsal and audit together.
    std::vector<formcheck::Finding> findings(const Page* page) const;
    QAction* checkAction() const { return m_checkAction; }

signals:
    // The page's check is complete, audit included.
    void checked(Page* page);

private:
    struct Result {
        QString pageName;
        std::vector<formcheck::Finding> fromPage;
        std::vector<formcheck::Finding> fromAudit;
        bool auditing = true;
        QString auditFailure;  // why the audit did not run
        QString auditSummary;
        bool rehearsing = true;
        formcheck::Rehearsal rehearsal;
        int run = 0;
    };

    void auditAnswered(Page* page, int run, const QByteArray& axeJson, const QString& failure);
    void rehearsed(Page* page, int run, const formcheck::Rehearsal& rehearsal);
    void answeredIfDone(Page* page, const Result& result);
    void showActive();
    void goTo(QTreeWidgetItem* item);

    EditorWindow& m_window;
    QLabel* m_summary;
    QLabel* m_audit;
    QLabel* m_rehearsal;
    FormRehearsalRunner* m_rehearsals;
    QTreeWidget* m_list;
    QAction* m_checkAction;
    std::map<const Page*, Result> m_results;
    int m_runs = 0;
    bool m_sized = false;
};

}  // namespace host
