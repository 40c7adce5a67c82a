// sonvex-cli: the program's engine without a window.

#include "CliCommand.h"

#include "data/SonvexVersion.h"

#include <QCoreApplication>

#include <cstdio>

namespace sonvex::cli {
QList<Command>& commands()
{
    static QList<Command> list;
    return list;
}
} // namespace sonvex::cli

using namespace sonvex::cli;

static void usage(QTextStream& s)
{
    s << QCoreApplication::translate("cli", "usage: sonvex-cli <command> [arguments]") << "\n\n"
      << QCoreApplication::translate("cli", "Commands:") << "\n";
    for (const Command& c : commands())
        s << "  " << c.synopsis << "\n";
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("sonvex-cli"));
    QCoreApplication::setApplicationVersion(QLatin1String(sonvex::kVersion));
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    Io io{out, err};

    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        usage(args.isEmpty() ? err : out);
        return args.isEmpty() ? Usage : Ok;
    }
    if (args.first() == QLatin1String("--version")) {
        out << "sonvex-cli " << sonvex::kVersion << "\n";
        return Ok;
    }
    const QString name = args.takeFirst();
    for (const Command& c : commands()) {
        if (name == QLatin1String(c.name)) {
            const int rc = c.run(args, io);
            out.flush();
            err.flush();
            return rc;
        }
    }
    err << QCoreApplication::translate("cli", "sonvex-cli: unknown command '%1'").arg(name) << "\n";
    usage(err);
    return Usage;
}
