// The reader of compiled HTML Help files, on the help file the build makes
// and on pieces of the format it parses.
#include "system/ChmArchive.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

#include <gtest/gtest.h>

using sysapi::ChmArchive;
using sysapi::HelpContentsEntry;

namespace {

const QString kHelpFile = QStringLiteral(VEXLO_HELP_FILE);

std::vector<QString> contentsNames(const ChmArchive& archive)
{
    std::vector<QString> names;
    for (const HelpContentsEntry& entry : archive.contents())
        names.push_back(entry.name);
    return names;
}

// The targets of the links and images of a topic, as written.
QStringList linkTargets(const QByteArray& html)
{
    static const QRegularExpression pattern(QStringLiteral(R"re((?:href|src)\s*=\s*"([^"]*)")re"),
                                            QRegularExpression::CaseInsensitiveOption);
    QStringList targets;
    for (auto match = pattern.globalMatch(QString::fromUtf8(html)); match.hasNext();)
        targets << match.next().captured(1);
    return targets;
}

QByteArray systemRecord(quint16 code, const QByteArray& text)
{
    QByteArray record;
    const QByteArray data = text + '\0';
    const auto length = static_cast<quint16>(data.size());
    record.append(char(code & 0xFF)).append(char(code >> 8)).append(char(length & 0xFF)).append(char(length >> 8));
    return record + data;
}

QByteArray number(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((value >> (8 * i)) & 0xFF);
    return bytes;
}

} // namespace

// ------------------------------------------------------------ the built help file

class BuiltHelpFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        archive = ChmArchive::open(kHelpFile);
        ASSERT_TRUE(archive) << "cannot read " << kHelpFile.toStdString();
    }
    std::optional<ChmArchive> archive;
};

TEST_F(BuiltHelpFileTest, HasItsTitleDefaultTopicAndContents)
{
    EXPECT_EQ(archive->title(), QStringLiteral("Vexlo Help"));
    EXPECT_EQ(archive->defaultTopic(), QStringLiteral("/welcome.htm"));
    EXPECT_TRUE(archive->object(archive->defaultTopic())->contains("Welcome to Vexlo"));
    const std::vector<QString> expected = {
        QStringLiteral("Welcome to Vexlo"),     QStringLiteral("Using Vexlo"),
        QStringLiteral("The five steps"),       QStringLiteral("The seed"),
        QStringLiteral("Character options"),    QStringLiteral("Copying the password"),
        QStringLiteral("Saving the password to a file"), QStringLiteral("Keyboard shortcuts"),
        QStringLiteral("Using Vexlo from other programs"), QStringLiteral("Troubleshooting"),
    };
    EXPECT_EQ(contentsNames(*archive), expected);
    // The topics under "Using Vexlo" are nested one level down.
    ASSERT_EQ(archive->contents().size(), expected.size());
    EXPECT_EQ(archive->contents()[1].depth, 0);
    EXPECT_EQ(archive->contents()[2].depth, 1);
    EXPECT_EQ(archive->contents()[8].depth, 0);
}

TEST_F(BuiltHelpFileTest, EveryContentsEntryAndInternalLinkResolves)
{
    for (const HelpContentsEntry& entry : archive->contents())
        EXPECT_TRUE(archive->contains(entry.local)) << entry.name.toStdString() << " -> " << entry.local.toStdString();

    int topics = 0;
    for (const QString& path : archive->objectPaths()) {
        if (!path.endsWith(QLatin1String(".htm")))
            continue;
        ++topics;
        const QUrl base(QStringLiteral("chm:") + path);
        for (const QString& target : linkTargets(*archive->object(path))) {
            const QUrl link(target);
            if (!link.isRelative())
                continue;
            EXPECT_TRUE(archive->contains(base.resolved(link).path()))
                << path.toStdString() << " links to missing " << target.toStdString();
        }
    }
    EXPECT_EQ(topics, 9);
}

TEST_F(BuiltHelpFileTest, EveryIndexKeywordLeadsToATopic)
{
    const std::optional<QByteArray> index = archive->object(QStringLiteral("/Vexlo.hhk"));
    ASSERT_TRUE(index);
    const std::vector<HelpContentsEntry> keywords = sysapi::parseSitemap(*index);
    EXPECT_GE(keywords.size(), 30u);
    QSet<QString> names;
    for (const HelpContentsEntry& keyword : keywords) {
        names.insert(keyword.name);
        EXPECT_TRUE(archive->contains(keyword.local)) << keyword.name.toStdString() << " -> " << keyword.local.toStdString();
    }
    for (const char* name : {"seed", "non-printable characters", "gdbus", "Mirrak", "where to keep the file"})
        EXPECT_TRUE(names.contains(QString::fromLatin1(name))) << name;
}

TEST_F(BuiltHelpFileTest, ObjectsAreFoundWithoutRegardToCaseOrLeadingSlash)
{
    const std::optional<QByteArray> topic = archive->object(QStringLiteral("/seed.htm"));
    ASSERT_TRUE(topic);
    EXPECT_EQ(archive->object(QStringLiteral("SEED.HTM")), topic);
    EXPECT_EQ(archive->object(QStringLiteral("ms-its:Vexlo.chm::/seed.htm#top")), topic);
    EXPECT_TRUE(archive->contains(QStringLiteral("/images/vexlo.png")));
    EXPECT_TRUE(archive->contains(QStringLiteral("/#SYSTEM")));
    EXPECT_FALSE(archive->contains(QStringLiteral("/nothing.htm")));
}

TEST(ChmArchiveTest, MissingOrEmptyFilesOpenNothing)
{
    EXPECT_FALSE(ChmArchive::open(QString()));
    EXPECT_FALSE(ChmArchive::open(QStringLiteral("/nonexistent/Vexlo.chm")));
    EXPECT_FALSE(ChmArchive::open(QStringLiteral("/")));
    EXPECT_FALSE(ChmArchive::open(QStringLiteral("/dev/null")));
}

// ------------------------------------------------------------ parsers

TEST(ChmSystemObjectTest, ReadsTheRecordsAndStopsAtOneThatOverruns)
{
    const QByteArray version = number(3);
    const QByteArray whole = version + systemRecord(0, "Vexlo.hhc") + systemRecord(9, "HHA Version 4.74")
                             + systemRecord(2, "welcome.htm") + systemRecord(3, "Vexlo Help");
    const sysapi::HelpSystemInfo info = sysapi::parseSystemObject(whole);
    EXPECT_EQ(info.contentsFile, QStringLiteral("Vexlo.hhc"));
    EXPECT_EQ(info.defaultTopic, QStringLiteral("welcome.htm"));
    EXPECT_EQ(info.title, QStringLiteral("Vexlo Help"));

    // A record whose length runs past the end is not read, nor anything after it.
    QByteArray overrun = version + systemRecord(2, "welcome.htm");
    overrun += QByteArray("\x03\x00\xFF\xFF", 4) + "Vexlo";
    EXPECT_EQ(sysapi::parseSystemObject(overrun).title, QString());
    EXPECT_EQ(sysapi::parseSystemObject(overrun).defaultTopic, QStringLiteral("welcome.htm"));
    // Every cut of the whole object reads without reading past it.
    for (qsizetype size = 0; size <= whole.size(); ++size)
        sysapi::parseSystemObject(whole.left(size));
}

TEST(ChmSitemapTest, ReadsNestedEntriesWithAnchorsAndEntities)
{
    const QByteArray sitemap = R"(<HTML><BODY><OBJECT type="text/site properties"><param name="X" value="1"></OBJECT>
<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="Tom &amp; Jerry"><param name="Local" value="a.htm"></OBJECT>
  <UL><LI><object TYPE='text/sitemap'><PARAM NAME=name VALUE="Inner"><param name="local" value="sub\b.htm#part"></object></UL>
<LI><!-- <OBJECT type="text/sitemap"><param name="Name" value="Comment"></OBJECT> -->
<LI><OBJECT type="text/sitemap"><param name="Name" value="Heading"></OBJECT>
</UL></BODY></HTML>)";
    const std::vector<HelpContentsEntry> entries = sysapi::parseSitemap(sitemap);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, QStringLiteral("Tom & Jerry"));
    EXPECT_EQ(entries[0].local, QStringLiteral("/a.htm"));
    EXPECT_EQ(entries[0].depth, 0);
    EXPECT_EQ(entries[1].name, QStringLiteral("Inner"));
    EXPECT_EQ(entries[1].local, QStringLiteral("/sub/b.htm"));
    EXPECT_EQ(entries[1].anchor, QStringLiteral("part"));
    EXPECT_EQ(entries[1].depth, 1);
    EXPECT_EQ(entries[2].name, QStringLiteral("Heading"));
    EXPECT_TRUE(entries[2].local.isEmpty());
}

TEST(ChmSitemapTest, SurvivesBrokenMarkup)
{
    const QByteArray cases[] = {
        "", "<", "<UL", "<OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"unterminated",
        "</UL></UL></UL><UL>", QByteArray(5000, '<'), QByteArray(3000, 'x') + "<UL>",
        QByteArray("<UL>").repeated(10000) + "<OBJECT type=text/sitemap><param name=Name value=Deep></OBJECT>",
        "<param name=Name value=Orphan></OBJECT>", "&#99999999999;&#x110000;&#;&", QByteArray("\0\xFF<\0>", 5),
    };
    for (const QByteArray& text : cases) {
        for (const HelpContentsEntry& entry : sysapi::parseSitemap(text))
            EXPECT_GE(entry.depth, 0);
    }
}

TEST(ChmObjectStreamTest, AcceptsOnlyCompleteWellFormedStreams)
{
    const QByteArray record = number(5) + "/a.ht" + number(3) + "abc";
    const QByteArray end = number(0xFFFFFFFFu);
    const std::optional<QHash<QString, QByteArray>> whole = sysapi::parseObjectStream(record + end);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->value(QStringLiteral("/a.ht")), QByteArray("abc"));

    struct Case {
        const char* name;
        QByteArray stream;
    };
    const Case refused[] = {
        {"empty", {}},
        {"no end mark", record},
        {"bytes after the end mark", record + end + "x"},
        {"path length zero", number(0) + number(0) + end},
        {"path longer than the stream", number(100) + "/a" + end},
        {"data longer than the stream", number(2) + "/a" + number(1000) + "abc" + end},
        {"data beyond the object limit", number(2) + "/a" + number(0x7FFFFFFF) + end},
    };
    for (const Case& row : refused)
        EXPECT_FALSE(sysapi::parseObjectStream(row.stream)) << row.name;
    for (qsizetype size = 0; size < record.size() + end.size(); ++size)
        EXPECT_FALSE(sysapi::parseObjectStream((record + end).left(size))) << "cut at " << size;
}

TEST(ChmPathTest, NormalisesTopicPaths)
{
    const std::pair<const char*, const char*> cases[] = {
        {"welcome.htm", "/welcome.htm"},
        {"/a/../b.htm", "/b.htm"},
        {"../../b.htm", "/b.htm"},
        {"a\\b.htm#anchor", "/a/b.htm"},
        {"./x%20y.htm?q", "/x y.htm"},
        {"ms-its:Vexlo.chm::/images/vexlo.png", "/images/vexlo.png"},
        {"", "/"},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(sysapi::normalizedHelpPath(QString::fromLatin1(input)), QString::fromLatin1(expected)) << input;
}

// ------------------------------------------------------------ damaged files

#include "DamagedHelpFiles.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

TEST(ChmDamagedFileTest, DamagedCopiesOpenNothingOrStillReadableTopics)
{
    QFile original(kHelpFile);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    int index = 0;
    int opened = 0;
    for (const helpfiles::DamagedFile& damaged : helpfiles::damagedCopies(bytes)) {
        const QString path = helpfiles::writeCase(QDir(folder.path()), index++, damaged);
        QElapsedTimer timer;
        timer.start();
        const std::optional<ChmArchive> archive = ChmArchive::open(path);
        // Without a container there is nothing to read.
        if (damaged.name == QLatin1String("signature") || damaged.name.startsWith(QLatin1String("cut at "))
            || damaged.name.startsWith(QLatin1String("random "))) {
            EXPECT_FALSE(archive) << damaged.name.toStdString();
        }
        EXPECT_LT(timer.elapsed(), ChmArchive::kReadTimeoutMs + 2000) << damaged.name.toStdString();
        if (!archive)
            continue;
        ++opened;
        // What opens has a default topic that can be read, and its contents parse.
        EXPECT_TRUE(archive->contains(archive->defaultTopic())) << damaged.name.toStdString();
        for (const HelpContentsEntry& entry : archive->contents())
            EXPECT_GE(entry.depth, 0);
        EXPECT_FALSE(archive->title().isEmpty()) << damaged.name.toStdString();
    }
    RecordProperty("opened", opened);
}
