// One effect inserted through its dialog on the main window, from OK to the page
// updated, against the bare engine's insertHTML of the same markup.
#include "cases.h"

#include "benchsupport.h"

#include "app/mainwindow.h"
#include "platform/editing/editingcomponent.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace lumipage::bench
{

namespace
{

// Answers the shadowed-text dialog `Form13` once it has stood open for half a second (its
// preview loads meanwhile, as it does while a person fills the form): red, with its
// script, OK. Notes when OK was clicked. A message box instead means the effect was
// refused; it is closed and noted.
class ShadowDialogAnswerer : public QObject
{
public:
    ShadowDialogAnswerer() { qApp->installEventFilter(this); }
    ~ShadowDialogAnswerer() override { qApp->removeEventFilter(this); }
    QElapsedTimer clickedAt;
    QString refusal;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        if (auto *box = qobject_cast<QMessageBox *>(watched)) {
            refusal = box->text();
            QTimer::singleShot(0, box, &QMessageBox::reject);
        } else if (auto *dialog = qobject_cast<QDialog *>(watched);
                   dialog && dialog->objectName() == QLatin1String("Form13")) {
            QTimer::singleShot(500, dialog, [this, dialog] { accept(*dialog); });
        }
        return false;
    }

private:
    void accept(QDialog &dialog)
    {
        auto *colour = dialog.findChild<QLineEdit *>(QStringLiteral("Text1"));
        auto *withScript = dialog.findChild<QComboBox *>(QStringLiteral("Combo1"));
        auto *ok = dialog.findChild<QAbstractButton *>(QStringLiteral("Command3"));
        if (!colour || !withScript || !ok) {
            refusal = QStringLiteral("the dialog Form13 lacks Text1, Combo1 or Command3");
            dialog.reject();
            return;
        }
        colour->setText(QStringLiteral("red"));
        withScript->setEditText(QStringLiteral("あり"));
        clickedAt.start();
        ok->click();
    }
};

// What `after` holds that `before` did not, cut at a tag's start.
QString inserted(const QString &before, const QString &after)
{
    qsizetype head = 0;
    while (head < before.size() && before[head] == after[head])
        ++head;
    if (head > 0 && after[head - 1] == QLatin1Char('<'))
        --head;
    qsizetype tail = 0;
    while (tail < before.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return after.mid(head, after.size() - head - tail);
}

} // namespace

void effectInsertionCases(MainWindow &window, QWebEngineView &bare, const QString &dir,
                          const QString &only)
{
    if (!wanted(only, "effect insertion"))
        return;
    EditingComponent &editor = *window.editor();
    QComboBox *effects = window.effectsList();
    const int shadow = effects->findText(QStringLiteral("影付き文字"));
    // The caret at the end of the last block's text, where the effect goes in.
    const QString caretInLast =
        QStringLiteral("(function () { const t = document.getElementById('last').firstChild;"
                       " getSelection().collapse(t, t.length); })()");
    for (const auto &[label, bytes] : pageSizes()) {
        if (bytes > 1024 * 1024)
            continue;
        // A page without scripts: a page that holds one takes no other effect.
        QByteArray html = page(bytes, true, false);
        html.insert(html.lastIndexOf("</BODY>"), "<DIV id=last>最後の段落</DIV>\n");
        const QString path = writePage(dir, QStringLiteral("effect") + label, html);
        editor.LoadDocument(path);
        waitFor(&editor, SIGNAL(DocumentComplete()));
        QWebEnginePage *editing = editor.findChild<QWebEngineView *>()->page();
        bareLoad(bare, path);
        evaluate(bare.page(), "document.designMode = 'on'");
        const QString before = editor.DocumentHTML();

        bool placed = false; // the first trial starts on the page as loaded
        const Trial ours = [&] {
            if (placed) {
                window.run(CommandId::Undo);
                QTest::qWait(200);
            }
            placed = true;
            evaluate(editing, caretInLast, QWebEngineScript::ApplicationWorld);
            ShadowDialogAnswerer answerer;
            effects->setCurrentIndex(shadow);
            emit effects->activated(shadow);
            if (!answerer.clickedAt.isValid() || !answerer.refusal.isEmpty())
                qFatal("the effect was not inserted: %s", qPrintable(answerer.refusal));
            return answerer.clickedAt.nsecsElapsed() / 1e6;
        };
        // The same markup as the effect put in, found by comparing the page before and
        // after one insertion.
        ours();
        const QString markup = inserted(before, editor.DocumentHTML());
        const QString barePaste =
            QStringLiteral("document.execCommand('insertHTML', false, %1)")
                .arg(QString::fromUtf8(
                         QJsonDocument(QJsonArray{markup}).toJson(QJsonDocument::Compact))
                         .mid(1)
                         .chopped(1));
        bool barePlaced = false;
        const Trial plain = timed(
            [&] {
                if (barePlaced)
                    evaluate(bare.page(), "document.execCommand('undo')");
                barePlaced = true;
                evaluate(bare.page(), caretInLast);
            },
            [&] { evaluate(bare.page(), barePaste); });
        report("effect insertion, OK to page updated (bare: insertHTML)", label,
               compare(ours, plain, {.minPairs = 9, .seconds = 60, .warmups = 0}));
        std::printf("{\"case\":\"effect insertion markup\",\"page\":\"%s\",\"chars\":%lld}\n",
                    qPrintable(label), static_cast<long long>(markup.size()));
        std::fflush(stdout);
    }
}

} // namespace lumipage::bench
