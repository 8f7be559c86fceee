#include "cli/ExplorerCliCommands.h"
#include <QCoreApplication>

#include "cli/CliRunner.h"
#include "cli/DataCliCommands.h"
#include "data/CsvExport.h"
#include "data/ExplorerData.h"
#include "data/ExplorerPlotRenderer.h"
#include "data/FeverEpisodes.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSaveFile>

#include <cmath>

namespace {

const QCommandLineOption aboveOption(
    QStringLiteral("above"),
    QCoreApplication::translate("ExplorerCliCommands", "Fever threshold in °C: readings higher "
                                                       "than this count (default 39.5)."),
    QStringLiteral("CELSIUS"), QStringLiteral("39.5"));
const QCommandLineOption minHoursOption(
    QStringLiteral("min-hours"),
    QCoreApplication::translate("ExplorerCliCommands", "Shortest episode in hours (default 2)."),
    QStringLiteral("HOURS"), QStringLiteral("2"));
const QCommandLineOption outputOption(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                      QCoreApplication::translate("ExplorerCliCommands",
                                                                  "The PNG file to write."),
                                      QStringLiteral("OUT.png"));
const QCommandLineOption
    sizeOption(QStringLiteral("size"),
               QCoreApplication::translate("ExplorerCliCommands",
                                           "Picture size in pixels (default 1600x900)."),
               QStringLiteral("WxH"), QStringLiteral("1600x900"));
const QCommandLineOption
    fromOption(QStringLiteral("from"),
               QCoreApplication::translate("ExplorerCliCommands",
                                           "First moment shown: \"YYYY-MM-DD[ HH:MM[:SS]]\" "
                                           "(default: the first record)."),
               QStringLiteral("DATE"));
const QCommandLineOption
    toOption(QStringLiteral("to"),
             QCoreApplication::translate("ExplorerCliCommands",
                                         "Last moment shown, included; a date alone "
                                         "means the end of that day (default: the last "
                                         "record)."),
             QStringLiteral("DATE"));

CivilTime pcClock()
{
    return CivilTime::fromDateTime(QDateTime::currentDateTime());
}

// The fever criteria from --above and --min-hours; false after a usage
// message.
bool readCriteria(const QCommandLineParser& parser, const CliContext& cli, FeverCriteria* criteria,
                  int* failure)
{
    bool ok = false;
    const double above = parser.value(aboveOption).toDouble(&ok);
    if (!ok || !std::isfinite(above) || above <= 0 || above >= 100) {
        *failure =
            CliRunner::usage(cli, QCoreApplication::translate("ExplorerCliCommands",
                                                              "--above takes a temperature in °C, "
                                                              "such as 39.5"));
        return false;
    }
    const double hours = parser.value(minHoursOption).toDouble(&ok);
    if (!ok || !std::isfinite(hours) || hours < 0 || hours > 24 * 365) {
        *failure =
            CliRunner::usage(cli, QCoreApplication::translate(
                                      "ExplorerCliCommands", "--min-hours takes a number of hours, "
                                                             "such as 2 or 0.5"));
        return false;
    }
    criteria->aboveCelsius = above;
    criteria->minimumSeconds = std::llround(hours * 3600);
    return true;
}

int episodes(const QCommandLineParser& parser, const CliContext& cli)
{
    FeverCriteria criteria;
    int failure = CliCommand::ExitFailure;
    if (!readCriteria(parser, cli, &criteria, &failure))
        return failure;
    QString path;
    auto document = loadDataFileArgument(parser, cli, &path, &failure);
    if (!document)
        return failure;
    const RecordIndex index(*document, pcClock());
    for (const FeverEpisode& e : FeverEpisodes::find(index, criteria))
        cli.print(QStringLiteral("%1  %2  %3 h  %4 °C")
                      .arg(CivilTime::fromSeconds(e.start).toString(),
                           CivilTime::fromSeconds(e.end).toString())
                      .arg(e.hours(), 0, 'f', 2)
                      .arg(CsvExport::temperatureText(e.peakRaw)));
    return CliCommand::ExitOk;
}

// "YYYY-MM-DD", "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS" (a T may stand
// for the space). A date alone is the start of the day, or with `endOfDay`
// its last second.
std::optional<std::int64_t> parseMoment(const QString& text, bool endOfDay)
{
    static const QRegularExpression form(QStringLiteral(
        R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T](\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int year = m.captured(1).toInt();
    const int month = m.captured(2).toInt();
    const int day = m.captured(3).toInt();
    const bool hasTime = m.capturedLength(4) > 0;
    const int hour = hasTime ? m.captured(4).toInt() : 0;
    const int minute = hasTime ? m.captured(5).toInt() : 0;
    const int second = m.capturedLength(6) > 0 ? m.captured(6).toInt() : 0;
    if (!QDate::isValid(year, month, day) || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    std::int64_t seconds = CivilTime::fromFields(year, month, day, hour, minute, second).seconds();
    if (!hasTime && endOfDay)
        seconds += 86400 - 1;
    return seconds;
}

std::optional<QSize> parseSize(const QString& text)
{
    static const QRegularExpression form(QStringLiteral(R"(^\s*(\d{1,5})\s*[xX]\s*(\d{1,5})\s*$)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QSize size(m.captured(1).toInt(), m.captured(2).toInt());
    if (size.width() < 320 || size.height() < 240 || size.width() > 10000 || size.height() > 10000)
        return std::nullopt;
    return size;
}

int plot(const QCommandLineParser& parser, const CliContext& cli)
{
    const QString out = parser.value(outputOption);
    if (out.isEmpty())
        return CliRunner::usage(
            cli, QCoreApplication::translate("ExplorerCliCommands", "'plot' needs -o OUT.png"));
    const auto size = parseSize(parser.value(sizeOption));
    if (!size)
        return CliRunner::usage(
            cli, QCoreApplication::translate("ExplorerCliCommands",
                                             "--size takes WIDTHxHEIGHT in pixels, from "
                                             "320x240 to 10000x10000"));
    std::optional<std::int64_t> from;
    std::optional<std::int64_t> to;
    if (parser.isSet(fromOption) && !(from = parseMoment(parser.value(fromOption), false)))
        return CliRunner::usage(
            cli, QCoreApplication::translate("ExplorerCliCommands",
                                             "--from takes \"YYYY-MM-DD[ HH:MM[:SS]]\""));
    if (parser.isSet(toOption) && !(to = parseMoment(parser.value(toOption), true)))
        return CliRunner::usage(
            cli, QCoreApplication::translate("ExplorerCliCommands",
                                             "--to takes \"YYYY-MM-DD[ HH:MM[:SS]]\""));
    if (from && to && *to < *from)
        return CliRunner::usage(
            cli, QCoreApplication::translate("ExplorerCliCommands", "--to comes before --from"));
    FeverCriteria criteria;
    int failure = CliCommand::ExitFailure;
    if (!readCriteria(parser, cli, &criteria, &failure))
        return failure;
    QString path;
    auto document = loadDataFileArgument(parser, cli, &path, &failure);
    if (!document)
        return failure;

    const CivilTime clock = pcClock();
    const ExplorerData data(std::move(*document), clock);
    auto [first, last] = data.index().timeSpan();
    if (last < first) // nothing dated: the day before now
        first = clock.seconds() - 86400, last = clock.seconds();
    const std::int64_t shownFrom = from.value_or(to ? std::min(first, *to) : first);
    const std::int64_t shownTo = to.value_or(std::max(last, shownFrom));

    ExplorerPlotRenderer::Options options;
    options.title = QCoreApplication::translate("ExplorerCliCommands",
                                                "Logger %1  \u00B7  Implant %2  \u00B7  %3")
                        .arg(data.index().loggerId())
                        .arg(data.index().implantId())
                        .arg(QFileInfo(path).fileName());
    // Text grows with the picture, from what reads well at 1600 x 900.
    const double scale =
        std::clamp(std::min(size->width() / 1600.0, size->height() / 900.0), 0.7, 3.0);
    options.font.setPixelSize(static_cast<int>(std::lround(14 * scale)));
    options.criteria = criteria;
    options.episodes = FeverEpisodes::find(data.index(), criteria);
    const ExplorerPlotRenderer renderer(&data, options);

    QImage image(*size, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        renderer.render(painter, *size, shownFrom, shownTo);
    }
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        cli.printError(QCoreApplication::translate("ExplorerCliCommands",
                                                   "Error: Can not write the picture %1!")
                           .arg(out));
        return CliCommand::ExitFailure;
    }
    cli.print(out);
    return CliCommand::ExitOk;
}

void episodeOptions(QCommandLineParser& parser)
{
    addDataFileArgument(parser);
    parser.addOptions({aboveOption, minHoursOption});
}

void plotOptions(QCommandLineParser& parser)
{
    addDataFileArgument(parser);
    parser.addOptions(
        {outputOption, sizeOption, fromOption, toOption, aboveOption, minHoursOption});
}

} // namespace

std::vector<CliCommand> explorerCliCommands()
{
    CliCommand episodesCommand{
        QStringLiteral("episodes"),
        QCoreApplication::translate(
            "ExplorerCliCommands",
            "List the fever episodes of a data file, one line each: start, end, "
            "hours, peak temperature. A drop below the threshold or a gap without "
            "body temperature of up to one hour does not end an episode."),
        false,
        episodeOptions,
        episodes,
        true};
    CliCommand plotCommand{
        QStringLiteral("plot"),
        QCoreApplication::translate(
            "ExplorerCliCommands",
            "Draw a data file's records over time into a PNG picture, as the Data "
            "Explorer shows them."),
        false,
        plotOptions,
        plot,
        true};
    plotCommand.needsGui = true;
    return {episodesCommand, plotCommand};
}
