#pragma once

#include <QStringList>
#include <QTextStream>

#include <functional>

namespace sonvex::cli {

// Exit codes of the command-line tool.
enum ExitCode { Ok = 0, Failure = 1, BadInput = 2, Usage = 64 };

struct Io
{
    QTextStream& out;
    QTextStream& err;
};

struct Command
{
    const char* name;
    const char* synopsis;
    std::function<int(const QStringList& args, Io& io)> run;
};

// Every command the tool offers; each file registers its own.
QList<Command>& commands();
struct Registrar
{
    explicit Registrar(Command c) { commands().append(std::move(c)); }
};

} // namespace sonvex::cli
