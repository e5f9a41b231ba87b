// Every page text and caption shows whole in the fonts this machine draws, and a
// screenshot of each page for a person to look at.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFontMetrics>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <string>

#include "wizard/form/wizard_form.h"

namespace {

// Gives every page label its text, as the wizard does when it loads.
void loadStepCaptions(ostrel::WizardForm& form) {
    for (QLabel* label : form.lblWzStep()) {
        label->setText(ostrel::WizardForm::text(ostrel::WizardForm::tag(*label).toInt()));
    }
}

// The box that `text` takes when drawn by `label`: its width, wrapped at word boundaries.
QRect drawnBox(const QLabel& label, const QString& text) {
    const QRect room(0, 0, label.contentsRect().width(), 1 << 20);
    return QFontMetrics(label.font())
        .boundingRect(room, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
}

TEST(PageTexts, EveryPageTextFitsItsLabel) {
    ostrel::WizardForm form;
    loadStepCaptions(form);
    for (QLabel* label : form.lblWzStep()) {
        SCOPED_TRACE(label->objectName().toStdString());
        const QString text = label->text();
        const QRect box = drawnBox(*label, text);
        EXPECT_LE(box.width(), label->contentsRect().width());
        EXPECT_LE(box.height(), label->contentsRect().height())
            << "the text needs " << box.height() << " pixels";
        // Every line break starts a new line: the text does not stop at its title.
        const int lineHeight = QFontMetrics(label->font()).lineSpacing();
        EXPECT_GE(box.height(), (text.count("\r\n") + 1) * lineHeight);
        // A break written as CR LF takes exactly the lines that LF alone would.
        QString lf = text;
        lf.replace("\r\n", "\n");
        EXPECT_EQ(drawnBox(*label, lf).height(), box.height());
    }
}

TEST(PageTexts, CaptionsFitOnOneLine) {
    ostrel::WizardForm form;
    for (QLabel* label : {form.Label1(), form.Label2(), form.Label3()}) {
        SCOPED_TRACE(label->objectName().toStdString());
        const QFontMetrics metrics(label->font());
        EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width());
        EXPECT_LE(metrics.height(), label->contentsRect().height());
    }
    for (QAbstractButton* button : form.findChildren<QAbstractButton*>()) {
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_LE(button->sizeHint().width(), button->width());
    }
}

// Each page's picture is of the whole window and differs from the page before it (a page
// that did not show, or showed its neighbour's frame, would not).
TEST(PageTexts, ScreenshotOfEveryPage) {
    const QDir folder(OSTREL_SCREENSHOT_DIR);
    ASSERT_TRUE(folder.mkpath("."));
    QImage previous;
    for (int page = 0; page <= 8; ++page) {
        SCOPED_TRACE(page);
        ostrel::WizardForm form;
        loadStepCaptions(form);
        // One page at a time on page 0's place, borderless, as the wizard shows them.
        const QRect place = form.fraStep()[0]->geometry();
        for (QFrame* frame : form.fraStep()) {
            frame->setFrameShape(QFrame::NoFrame);
            frame->setGeometry(place);
            frame->setVisible(frame == form.fraStep()[page]);
        }
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        const QImage shot = form.grab().toImage();
        ASSERT_FALSE(shot.isNull());
        EXPECT_TRUE(shot.size() == form.size() * form.devicePixelRatio());
        EXPECT_TRUE(shot != previous) << "the same picture as the page before";
        const QString file = folder.filePath(QString("fraStep_%1.png").arg(page));
        EXPECT_TRUE(shot.save(file)) << file.toStdString();
        previous = shot;
    }
}

}  // namespace
