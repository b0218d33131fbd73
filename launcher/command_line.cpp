#include "command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

namespace reversi {
namespace {

// Options the windowing reads itself when the application starts; they take a value or not.
struct ToolkitOption {
    const char* name;
    bool takesValue;
};
constexpr ToolkitOption toolkitOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true},
    {"qwindowtitle", true},    {"display", true},
    {"geometry", true},        {"style", true},
    {"stylesheet", true},      {"session", true},
    {"reverse", false},        {"widgetcount", false},
    {"sync", false},           {"nograb", false},
    {"dograb", false},
};

}  // namespace

CommandLine readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Reversi for two players at one screen or against the computer."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and ends."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and ends."));
    parser.addOptions({help, version});
    QList<QCommandLineOption> toolkit;
    for (const ToolkitOption& known : toolkitOptions) {
        QCommandLineOption option(QString::fromLatin1(known.name));
        if (known.takesValue) option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
        toolkit << option;
    }

    // The parser names the program only when an application object exists, which it need not.
    QString usage = parser.helpText();
    usage.replace(QStringLiteral("<executable_name>"),
                  QFileInfo(arguments.value(0, QStringLiteral("reversi"))).fileName());

    if (!parser.parse(arguments))
        return {false, 2, parser.errorText() + QLatin1Char('\n') + usage, {}};
    if (!parser.positionalArguments().isEmpty()) {
        return {false,
                2,
                QStringLiteral("Unexpected argument '%1'.\n").arg(parser.positionalArguments()[0]) +
                    usage,
                {}};
    }
    if (parser.isSet(help)) return {false, 0, usage, {}};
    if (parser.isSet(version)) {
        return {false,
                0,
                QCoreApplication::applicationName() + QLatin1Char(' ') +
                    QCoreApplication::applicationVersion() + QLatin1Char('\n'),
                {}};
    }
    // Qt reads its options itself, but only as "-name value": the parser's other forms are given
    // to it in that one.
    CommandLine result;
    result.toolkitArguments = arguments.mid(0, 1);
    for (const QCommandLineOption& option : toolkit) {
        const QString name = QLatin1Char('-') + option.names().constFirst();
        if (option.valueName().isEmpty()) {
            if (parser.isSet(option)) result.toolkitArguments << name;
            continue;
        }
        for (const QString& value : parser.values(option))
            result.toolkitArguments << name << value;
    }
    return result;
}

}  // namespace reversi
