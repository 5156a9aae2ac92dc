// Shows one panel as the program fills it: a title, two team lines and a
// running score. With --grab <file.png> it saves a picture of the panel and
// ends instead of staying on screen.
#include <QApplication>
#include <QTimer>

#include "Fonts.h"
#include "PannelloControl.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Pannello2::InstallFontSubstitutions();

    Pannello2::PannelloHost host;
    QWidget window;
    window.setWindowTitle(QStringLiteral("Pannello"));
    window.setStyleSheet(QStringLiteral("background: black"));
    window.resize(354, 118);
    Pannello2::Pannello* panel = Pannello2::CreateInitialisedPannello(&window, &host);
    panel->InitNew();
    panel->move(10, 10);
    panel->SetTitolo("SERIE A");
    panel->SetTesto("JUVENTUS\r\nINTER");
    panel->SetTestoPic("[14]45\" [15]1-0 [12]");
    panel->HTFisso();
    window.show();

    const QStringList args = app.arguments();
    const qsizetype grab = args.indexOf(QStringLiteral("--grab"));
    if (grab >= 0 && grab + 1 < args.size()) {
        QTimer::singleShot(200, [&] { app.exit(panel->grab().save(args[grab + 1]) ? 0 : 1); });
    }
    return app.exec();
}
