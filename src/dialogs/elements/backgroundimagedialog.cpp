#include "dialogs/elements/backgroundimagedialog.h"

#include "app/mainwindow.h"
#include "dialogs/elements/backgroundmarkup.h"
#include "platform/commondialog.h"
#include "platform/editing/editingcomponent.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

BackgroundImageDialog::BackgroundImageDialog(MainWindow &window)
    : QDialog(&window), m_window(window)
{
    setObjectName(QStringLiteral("Form19"));
    setWindowTitle(QStringLiteral("背景画像設定"));
    auto *grid = new QGridLayout(this);
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("Text1"));
    auto *browse = new QPushButton(QStringLiteral("参照"), this);
    browse->setObjectName(QStringLiteral("Command1"));
    m_pattern = new QComboBox(this);
    m_pattern->setObjectName(QStringLiteral("Combo1"));
    m_pattern->setEditable(true);
    m_pattern->addItems({QStringLiteral("固定する"), QStringLiteral("固定しない")});
    m_pattern->setEditText(QStringLiteral("固定しない"));
    m_pattern->setEnabled(false);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Command2"));
    m_ok->setEnabled(false);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command3"));
    grid->addWidget(new QLabel(QStringLiteral("画像の指定"), this), 0, 0);
    grid->addWidget(m_path, 0, 1, 1, 2);
    grid->addWidget(browse, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("背景ﾊﾟﾀｰﾝ"), this), 1, 0);
    grid->addWidget(m_pattern, 1, 1);
    grid->addWidget(m_ok, 1, 2);
    grid->addWidget(cancel, 1, 3);
    resize(312, 87);

    connect(m_path, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_pattern->setEnabled(!text.isEmpty());
        m_ok->setEnabled(!text.isEmpty());
    });
    connect(browse, &QPushButton::clicked, this, [this] {
        CommonDialog &dialog = m_window.commonDialog();
        dialog.filter = QStringLiteral(
            "GIFファイル(*.gif)|*.gif|JPGファイル(*.jpg)|*.jpg|全てのファイル(*.*)|*.*");
        if (const auto file = dialog.showOpen(this))
            m_path->setText(*file);
    });
    connect(m_ok, &QPushButton::clicked, this, &BackgroundImageDialog::Command2_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void BackgroundImageDialog::Command2_Click()
{
    const std::optional<QString> properties = backgroundProperties(m_pattern->currentText());
    if (!properties)
        return; // an unknown pattern text: nothing happens, the dialog stays
    SharedValues &shared = m_window.shared();
    shared.bg_properties = *properties;
    QString html = m_window.editor()->DocumentHTML();
    const qsizetype body = html.indexOf(QStringLiteral("<BODY"));
    shared.background_attr = backgroundAttr(m_path->text(), shared.bg_properties);
    if (body <= 0) { // no body tag, or the text starts with it
        m_window.toolbarButton(QStringLiteral("del_imageback"))->setEnabled(false);
        accept();
        return;
    }
    html.replace(QStringLiteral("<BODY"), shared.background_attr);
    m_window.Text7 = html;
    m_window.editor()->setDocumentHTML(html);
    m_window.toolbarButton(QStringLiteral("del_imageback"))->setEnabled(true);
    accept();
}

} // namespace lumipage
