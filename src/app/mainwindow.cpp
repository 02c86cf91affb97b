#include "app/mainwindow.h"

#include "platform/editing/webengineeditingcomponent.h"

#include <QMessageBox>

namespace lumipage {

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Lumipage Ver1.02"));
    m_editor = new WebEngineEditingComponent(this);
    m_editor->setObjectName(QStringLiteral("DHTMLEdit1"));
    setCentralWidget(m_editor);
    resize(910, 580);
}

void MainWindow::openFile(const QString &path)
{
    if (!m_editor->LoadDocument(path))
        QMessageBox::warning(this, windowTitle(), m_editor->lastError());
}

} // namespace lumipage
