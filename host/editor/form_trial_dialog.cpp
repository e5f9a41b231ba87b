// The "try the form" dialog.
#include "host/editor/form_trial_dialog.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace host {
namespace {

QString oneLine(QString value) {
    value.replace(u'\\', QStringLiteral("\\\\"));
    value.replace(u'\n', QStringLiteral("\\n"));
    value.replace(u'\r', QStringLiteral("\\r"));
    value.replace(u'\t', QStringLiteral("\\t"));
    return value;
}

QString methodOf(const preview::FormSubmission& s) {
    return s.method.isEmpty()
               ? QCoreApplication::translate("host::FormTrialDialog",
                                             "(not known: the form is inside a frame)")
               : s.method;
}

// What the author is told when the page's own content policy stops the submission.
QString blockedNote(const preview::FormSubmission& s) {
    return QCoreApplication::translate(
               "host::FormTrialDialog",
               "The page's Content-Security-Policy blocks this submission: its directive "
               "\"%1\" does not allow %2. A browser sends nothing, and visitors who sign up "
               "are never added. Add the form's address (or its origin) to form-action in the "
               "policy, or take the policy out of the page.")
        .arg(s.blockedBy,
             s.blockedAddress.isEmpty()
                 ? QCoreApplication::translate("host::FormTrialDialog", "the form's address")
                 : s.blockedAddress);
}

QLabel* selectable(const QString& text) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setWordWrap(true);
    return label;
}

}  // namespace

QString describeSubmission(const preview::FormSubmission& s) {
    QString text = QCoreApplication::translate("host::FormTrialDialog", "Method: %1\nAddress: %2\n")
                       .arg(methodOf(s), s.action);
    if (!s.blockedBy.isEmpty())
        text += QCoreApplication::translate("host::FormTrialDialog", "Blocked by: %1\n")
                    .arg(s.blockedBy);
    if (!s.encoding.isEmpty())
        text +=
            QCoreApplication::translate("host::FormTrialDialog", "Encoding: %1\n").arg(s.encoding);
    if (!s.requestUrl.isEmpty())
        text +=
            QCoreApplication::translate("host::FormTrialDialog", "Request: %1\n").arg(s.requestUrl);
    text += QCoreApplication::translate("host::FormTrialDialog", "Fields:\n");
    for (const auto& [name, value] : s.fields)
        text += oneLine(name) + u'\t' + oneLine(value) + u'\n';
    return text;
}

FormTrialService& qtFormTrials() {
    static QtFormTrialService service;
    return service;
}

void QtFormTrialService::show(QWidget* parent, const preview::FormSubmission& s) {
    if (m_open) {
        ++m_unshown;
        const QString count =
            m_unshown == 1
                ? QCoreApplication::translate(
                      "host::FormTrialDialog",
                      "1 more submission came while this was open; it is not shown.")
                : QCoreApplication::translate(
                      "host::FormTrialDialog",
                      "%1 more submissions came while this was open; they are not shown.")
                      .arg(m_unshown);
        m_unshownNote->setText(
            count + QCoreApplication::translate(
                        "host::FormTrialDialog",
                        " View > Run Page Scripts stops a page that submits on its own."));
        m_unshownNote->show();
        return;
    }
    m_unshown = 0;
    auto* dialog = new QDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("formTrialDialog"));
    const bool blocked = !s.blockedBy.isEmpty();
    dialog->setWindowTitle(
        blocked ? QCoreApplication::translate("host::FormTrialDialog",
                                              "Try the Form - blocked by the page's content policy")
                : QCoreApplication::translate("host::FormTrialDialog",
                                              "Try the Form - nothing was sent"));
    auto* layout = new QVBoxLayout(dialog);
    if (blocked) {
        QLabel* note = selectable(blockedNote(s));
        note->setObjectName(QStringLiteral("formTrialBlocked"));
        layout->addWidget(note);
    }
    layout->addWidget(new QLabel(
        blocked ? QCoreApplication::translate(
                      "host::FormTrialDialog",
                      "Were it allowed, submitting this form would send the following. "
                      "Nothing was sent.")
                : QCoreApplication::translate(
                      "host::FormTrialDialog",
                      "Submitting this form would send the following. Nothing was sent.")));
    auto* facts = new QFormLayout;
    facts->addRow(QCoreApplication::translate("host::FormTrialDialog", "Method:"),
                  selectable(methodOf(s)));
    facts->addRow(QCoreApplication::translate("host::FormTrialDialog", "Address:"),
                  selectable(s.action));
    if (!s.encoding.isEmpty())
        facts->addRow(QCoreApplication::translate("host::FormTrialDialog", "Encoding:"),
                      selectable(s.encoding));
    if (!s.requestUrl.isEmpty())
        facts->addRow(QCoreApplication::translate("host::FormTrialDialog", "Request:"),
                      selectable(s.requestUrl));
    layout->addLayout(facts);

    auto* table = new QTableWidget(int(s.fields.size()), 2);
    table->setObjectName(QStringLiteral("formTrialFields"));
    table->setHorizontalHeaderLabels(
        {QCoreApplication::translate("host::FormTrialDialog", "Field"),
         QCoreApplication::translate("host::FormTrialDialog", "Value")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < int(s.fields.size()); ++row) {
        table->setItem(row, 0, new QTableWidgetItem(s.fields[std::size_t(row)].first));
        table->setItem(row, 1, new QTableWidgetItem(s.fields[std::size_t(row)].second));
    }
    table->resizeColumnToContents(0);
    layout->addWidget(table);
    m_unshownNote = new QLabel;
    m_unshownNote->setObjectName(QStringLiteral("formTrialUnshown"));
    m_unshownNote->setWordWrap(true);
    m_unshownNote->hide();
    layout->addWidget(m_unshownNote);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QPushButton* copy =
        buttons->addButton(QCoreApplication::translate("host::FormTrialDialog", "&Copy All"),
                           QDialogButtonBox::ActionRole);
    QObject::connect(copy, &QPushButton::clicked, dialog, [text = describeSubmission(s)] {
        QGuiApplication::clipboard()->setText(text);
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog->resize(560, 380);
    m_open = dialog;
    // Not modal, and without a loop of its own: the page that asked may keep asking, each
    // request must come back here to be counted, and the author must be able to reach the
    // View menu to turn its scripts off.
    dialog->show();
}

}  // namespace host
