// The yardstick of start-up: a bare main window with a menu bar, a tool bar and a tab
// widget, nothing behind them.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTabWidget>
#include <QToolBar>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&Archivo"))->addAction(QStringLiteral("Nuevo"));
    window.addToolBar(QStringLiteral("Herramientas"))->addAction(QStringLiteral("Abrir"));
    auto* tabs = new QTabWidget(&window);
    tabs->addTab(new QWidget, QStringLiteral("Composición"));
    window.setCentralWidget(tabs);
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
