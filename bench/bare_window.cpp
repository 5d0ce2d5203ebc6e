// The baseline of the start-up and memory figures: a plain Qt window with as many plain widgets of
// each class as the filter window has (SPEC, e.g. "QLabel=14,QLineEdit=22"), plus one libpq
// connection with the program's session settings. It paints once, prints "VmHWM <kB>" and quits.
// Built apart from the program's library so that it carries nothing of ours.
//
//   zvbench_bare SPEC        (connection from PGHOST, PGPORT, PGUSER, PGPASSWORD, PGDATABASE)
#include "LibpqDireto.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>

namespace {

QWidget* widgetPlano(const QString& classe, int i, QWidget* pai) {
    if (classe == u"QLabel")
        return new QLabel(QStringLiteral("Label %1").arg(i), pai);
    if (classe == u"QLineEdit")
        return new QLineEdit(pai);
    if (classe == u"QPushButton")
        return new QPushButton(QStringLiteral("Button"), pai);
    if (classe == u"QGroupBox")
        return new QGroupBox(QStringLiteral("Group"), pai);
    if (classe == u"QRadioButton")
        return new QRadioButton(QStringLiteral("Radio"), pai);
    if (classe == u"QComboBox") {
        auto* combo = new QComboBox(pai);
        combo->addItems({QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")});
        return combo;
    }
    if (classe == u"QFrame")
        return new QFrame(pai);
    return new QWidget(pai);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zvbench_bare SPEC\n");
        return 2;
    }
    QApplication app(argc, argv);

    const bench::Conexao conexao =
        bench::conectaDireto(qgetenv("PGHOST"), qgetenv("PGPORT"), qgetenv("PGUSER"), qgetenv("PGPASSWORD"),
                             qgetenv("PGDATABASE"), "zvbench_bare");
    if (!conexao || PQstatus(conexao.get()) != CONNECTION_OK) {
        std::fprintf(stderr, "zvbench_bare: %s\n", conexao ? PQerrorMessage(conexao.get()) : "out of memory");
        return 1;
    }

    QWidget janela;
    janela.setWindowTitle(QStringLiteral("bare"));
    janela.setFixedSize(960, 596);
    int i = 0;
    for (const QString& parte : QString::fromLatin1(argv[1]).split(u',', Qt::SkipEmptyParts)) {
        const QString classe = parte.section(u'=', 0, 0);
        const int quantos = parte.section(u'=', 1, 1).toInt();
        for (int k = 0; k < quantos; ++k, ++i)
            widgetPlano(classe, i, &janela)->setGeometry(8 + (i % 4) * 236, 8 + (i / 4) * 26, 228, 24);
    }
    janela.show();
    QTimer::singleShot(0, &janela, [&janela] {
        janela.repaint();
        std::printf("VmHWM %ld\n", bench::picoDeMemoria());
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return app.exec();
}
