// Reading form files: bad input fails with the line and what was expected and leaves nothing
// half-built behind; references (also forward ones), handlers, defined properties and Loaded;
// strings of any content read back exactly.
#include "multijobs/PJDraft.h"
#include "multijobs/PJMulti.h"
#include "platform/core/DataModule.h"
#include "platform/core/FormParser.h"
#include "platform/core/Reader.h"
#include "platform/core/Writer.h"
#include "preview/VLPreview.h"

#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <limits>

using namespace Vellaro;
using Vellaro::Testing::RecordingPrinterTest;

namespace {

class Reader : public RecordingPrinterTest {
protected:
    void SetUp() override
    {
        RecordingPrinterTest::SetUp();
        Root.SetName("Module1");
        Root.RegisterMethod("JobDraw", QVariant::fromValue(TDrawEvent([this](TComponent*, TCanvas*, int page, TRect, TDrawArea area, TDrawTarget) {
            if (area == daPage)
                DrawnPages << page;
        })));
        Root.RegisterMethod("Notify", QVariant::fromValue(TNotifyEvent([](TComponent*) {})));
    }
    TDataModule Root;
    QList<int> DrawnPages;
};

TEST_F(Reader, BadInputNamesTheLineAndWhatWasExpectedAndLeavesNothingBuilt)
{
    const struct {
        const char* Name;
        const char* Text;
        int Line;
        const char* Message;
    } cases[] = {
        {"missing equals", "object M: TDataModule\n  object J: TPrintJob\n    PageCount 3\n  end\nend\n", 3, "expected '=' after the property name"},
        {"unknown class", "object M: TDataModule\n  object J: TNoSuchJob\n  end\nend\n", 2, "unknown class 'TNoSuchJob'"},
        {"unknown property", "object M: TDataModule\n  object J: TPrintJob\n    Colour = 3\n  end\nend\n", 3, "unknown property 'Colour' of TPrintJob"},
        {"string for integer", "object M: TDataModule\n  object J: TPrintJob\n    PageCount = 'three'\n  end\nend\n", 3, "expected an integer for PageCount, found a string"},
        {"integer out of range", "object M: TDataModule\n  object J: TPrintJob\n    PageCount = 99999999999\n  end\nend\n", 3, "out of range"},
        {"unknown enumeration value", "object M: TDataModule\n  object J: TPrintJob\n    PageUnits = unFeet\n  end\nend\n", 3, "'unFeet' is not a value of PageUnits"},
        {"unknown set element", "object M: TDataModule\n  object J: TPrintJob\n    Options = [joHeader, joSidebar]\n  end\nend\n", 3, "'joSidebar' is not an element of Options"},
        {"Boolean expected", "object M: TDataModule\n  object D: TDraftPrintJob\n    Separators = 1\n  end\nend\n", 3, "expected True or False for Separators"},
        {"dangling reference", "object M: TDataModule\n  object D: TDraftPrintJob\n    PrintJob = Missing\n  end\nend\n", 3, "no component named 'Missing' for PrintJob"},
        {"reference of the wrong class", "object M: TDataModule\n  object D: TDraftPrintJob\n    PrintJob = M\n  end\nend\n", 3, "M is a TDataModule; expected a TCustomPrintJob"},
        {"self link refused by the setter", "object M: TDataModule\n  object D: TDraftPrintJob\n    PrintJob = D\n  end\nend\n", 3, "TDraftPrintJob cannot link with himself"},
        {"unknown handler", "object M: TDataModule\n  object J: TPrintJob\n    OnDraw = NoSuchMethod\n  end\nend\n", 3, "no handler 'NoSuchMethod' for OnDraw"},
        {"handler of another type", "object M: TDataModule\n  object J: TPrintJob\n    OnDraw = Notify\n  end\nend\n", 3, "handler 'Notify' does not fit OnDraw"},
        {"truncated end", "object M: TDataModule\n  object J: TPrintJob\n    PageCount = 3\n", 4, "expected a property, 'object' or 'end' in J, found the end of the file"},
        {"unterminated string", "object M: TDataModule\n  object J: TPrintJob\n    Title = 'abc\n  end\nend\n", 3, "unterminated string"},
        {"odd binary data", "object M: TDataModule\n  object J: TPrintJob\n    Title = {ABC}\n  end\nend\n", 3, "odd number of hexadecimal digits"},
        {"list not closed", "object M: TDataModule\n  object X: TMultiPrintJob\n    PrintJobs = (\n      'A'\n", 5, "list not closed"},
        {"defined property of the wrong type", "object M: TDataModule\n  object X: TMultiPrintJob\n    PrintJobs = ('A' 3)\n  end\nend\n", 3, "expected a string for PrintJobs, found an integer"},
        {"duplicate name", "object M: TDataModule\n  object J: TPrintJob\n  end\n  object j: TPrintJob\n  end\nend\n", 4, "a component named j already exists"},
        {"text after the root", "object M: TDataModule\nend\nobject N: TDataModule\nend\n", 3, "expected the end of the file"},
        {"sub-property of a plain value", "object M: TDataModule\n  object J: TPrintJob\n    Title.Size = 3\n  end\nend\n", 3, "Title has no sub-properties"},
        {"unexpected character", "object M: TDataModule\n  object J: TPrintJob\n    PageCount = 3;\n  end\nend\n", 3, "unexpected character ';'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TDataModule root;
        root.RegisterMethod("Notify", QVariant::fromValue(TNotifyEvent([](TComponent*) {})));
        try {
            ReadComponentText(QString::fromUtf8(c.Text), &root);
            ADD_FAILURE() << "read without error";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Line(), c.Line) << e.Message().toStdString();
            EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Line %1: ").arg(c.Line))) << e.Message().toStdString();
            EXPECT_TRUE(e.Message().contains(QString::fromUtf8(c.Message))) << e.Message().toStdString();
        }
        EXPECT_EQ(root.ComponentCount(), 0);
        EXPECT_FALSE(root.HasState(csLoading));
    }
}

TEST_F(Reader, NestingBeyondTheLimitIsRefusedNotFollowed)
{
    QString objects;
    for (int i = 0; i <= MaxObjectDepth; ++i)
        objects += QStringLiteral("object O%1: TDataModule\n").arg(i);
    EXPECT_THROW(ParseForm(objects), EReadError);
    const QString lists = QStringLiteral("object M: TMultiPrintJob\n  PrintJobs = ") + QString(10000, u'(');
    EXPECT_THROW(ParseForm(lists), EReadError);
}

TEST_F(Reader, ReferencesResolveAfterTheWholeRootAlsoForward)
{
    const QString text = QStringLiteral(
        "object Module1: TDataModule\n"
        "  object Draft1: TDraftPrintJob\n"
        "    PrintJob = Job1\n"
        "    Scale = 3\n"
        "  end\n"
        "  object Job1: TPrintJob\n"
        "    PageCount = 10\n"
        "    OnDraw = JobDraw\n"
        "  end\n"
        "end\n");
    ReadComponentText(text, &Root);
    auto* draft = dynamic_cast<TDraftPrintJob*>(Root.FindComponent("Draft1"));
    ASSERT_NE(draft, nullptr);
    EXPECT_EQ(draft->PrintJob(), Root.FindComponent("Job1"));
    EXPECT_EQ(draft->PageCount(), 2);
    draft->Print();
    EXPECT_EQ(DrawnPages, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_FALSE(draft->HasState(csLoading));
}

TEST_F(Reader, CreatesTheRootFromItsClassWhenNoneIsGiven)
{
    const QString text = QStringLiteral("object Multi: TMultiPrintJob\n  Title = 'Alone'\n  PrintJobs = ()\nend\n");
    std::unique_ptr<TComponent> root(ReadComponentText(text));
    auto* multi = dynamic_cast<TMultiPrintJob*>(root.get());
    ASSERT_NE(multi, nullptr);
    EXPECT_EQ(multi->Name(), QStringLiteral("Multi"));
    EXPECT_EQ(multi->Title(), QStringLiteral("Alone"));
    EXPECT_THROW(ReadComponentText(QStringLiteral("object Multi: TMultiPrintJob\n  Title = 3\nend\n")), EReadError);
}

TEST_F(Reader, RefusesAFormOfAnotherClassThanTheRootReadInto)
{
    TMultiPrintJob multi;
    EXPECT_THROW(ReadComponentText(QStringLiteral("object M: TDataModule\nend\n"), &multi), EReadError);
}

TEST_F(Reader, StringsOfAnyContentReadBackExactly)
{
    const QString cases[] = {
        QString(),
        QStringLiteral("plain"),
        QStringLiteral("it's"),
        QStringLiteral("''"),
        QStringLiteral("tab\there, line\r\nend"),
        QStringLiteral("Größe € 東京"),
        QString(QChar(0)) + QStringLiteral("nul first"),
        QString(QChar(0xD800)) + QStringLiteral("lone surrogate"),
        QStringLiteral("emoji \U0001F600"),
    };
    for (const QString& title : cases) {
        TDataModule source;
        source.SetName("M");
        auto* job = new TPrintJob(&source);
        job->SetName("J");
        job->SetTitle(title);
        TDataModule copy;
        ReadComponentText(ComponentToText(&source), &copy);
        EXPECT_EQ(dynamic_cast<TPrintJob*>(copy.FindComponent("J"))->Title(), title) << TWriter::QuoteString(title).toStdString();
    }
}

TEST_F(Reader, HandlersAreBoundByNameAndWrittenBackUnderIt)
{
    const QString text = QStringLiteral("object Module1: TDataModule\n  object Job1: TPrintJob\n    PageCount = 2\n    OnDraw = jobdraw\n  end\nend\n");
    ReadComponentText(text, &Root);
    auto* job = dynamic_cast<TPrintJob*>(Root.FindComponent("Job1"));
    job->Print();
    EXPECT_EQ(DrawnPages, (QList<int>{1, 2}));
    EXPECT_TRUE(ComponentToText(&Root).contains(QStringLiteral("OnDraw = jobdraw")));
    BindEvent(job, "OnDraw", QString());
    EXPECT_FALSE(ComponentToText(&Root).contains(QStringLiteral("OnDraw")));
}

TEST_F(Reader, FormFileOnDiskReadsLikeItsText)
{
    QTemporaryDir dir;
    auto* job = new TPrintJob(&Root);
    job->SetName("Job1");
    job->SetPageCount(7);
    const QString path = dir.filePath("form.vfm");
    WriteComponentResFile(path, &Root);
    TDataModule copy;
    ReadComponentRes(path, &copy);
    EXPECT_EQ(ComponentToText(&copy), ComponentToText(&Root));
    EXPECT_THROW(ReadComponentRes(dir.filePath("missing.vfm"), &copy), EFilerError);
    EXPECT_THROW(WriteComponentResFile(dir.filePath("no/such/dir/form.vfm"), &Root), EFilerError);
}

TEST_F(Reader, ReadingAThousandComponentsKeepsTheirOrder)
{
    QString text = QStringLiteral("object Module1: TDataModule\n");
    for (int i = 0; i < 1000; ++i)
        text += QStringLiteral("  object Job%1: TPrintJob\n    PageCount = %2\n  end\n").arg(i).arg(i % 7 + 1);
    text += QStringLiteral("end\n");
    ReadComponentText(text, &Root);
    ASSERT_EQ(Root.ComponentCount(), 1000);
    EXPECT_EQ(Root.Components(999)->Name(), QStringLiteral("Job999"));
    EXPECT_EQ(dynamic_cast<TPrintJob*>(Root.Components(12))->PageCount(), 6);
}


TEST_F(Reader, ValueDepthCountsFromThePropertyNotTheObject)
{
    // An object nested deeper than the values may nest still holds properties.
    const int objects = MaxValueDepth + 8;
    const auto nested = [&](int listDepth) {
        QString text;
        for (int i = 0; i < objects; ++i)
            text += QStringLiteral("object O%1: TDataModule\n").arg(i);
        text += QStringLiteral("Items = ") + QString(listDepth, u'(') + QStringLiteral("1") + QString(listDepth, u')') + u'\n';
        for (int i = 0; i < objects; ++i)
            text += QStringLiteral("end\n");
        return text;
    };
    TFilerObject tree = ParseForm(nested(MaxValueDepth - 1));
    const TFilerObject* deepest = &tree;
    while (!deepest->Children.empty())
        deepest = &deepest->Children.front();
    ASSERT_EQ(deepest->Properties.size(), 1u);
    EXPECT_EQ(deepest->Properties.front().Name, QStringLiteral("Items"));
    try {
        ParseForm(nested(MaxValueDepth));
        ADD_FAILURE() << "a value nested too deep was read";
    } catch (const EReadError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("nested more than %1 deep").arg(MaxValueDepth))) << e.Message().toStdString();
    }
}

TEST_F(Reader, NumbersOutOfRangeAreRefusedInDecimalAndHex)
{
    struct Case {
        const char* Literal;
        bool Reads;
        qint64 Value;
    };
    const Case cases[] = {
        {"9223372036854775807", true, std::numeric_limits<qint64>::max()},
        {"-9223372036854775808", true, std::numeric_limits<qint64>::min()},
        {"9223372036854775808", false, 0},
        {"-9223372036854775809", false, 0},
        {"$7FFFFFFFFFFFFFFF", true, std::numeric_limits<qint64>::max()},
        {"-$7FFFFFFFFFFFFFFF", true, -std::numeric_limits<qint64>::max()},
        {"$FF", true, 255},
        {"-$10", true, -16},
        {"$8000000000000000", false, 0},
        {"-$8000000000000000", false, 0},
        {"$FFFFFFFFFFFFFFFF", false, 0},
        {"$10000000000000000", false, 0},
        {"1e400", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Literal);
        const QString text = QStringLiteral("object M: TDataModule\n  Tag = %1\nend\n").arg(QLatin1String(c.Literal));
        if (c.Reads) {
            const TFilerObject tree = ParseForm(text);
            ASSERT_EQ(tree.Properties.size(), 1u);
            EXPECT_EQ(tree.Properties.front().Value.Integer, c.Value);
        } else {
            try {
                ParseForm(text);
                ADD_FAILURE() << "read without error";
            } catch (const EReadError& e) {
                EXPECT_EQ(e.Line(), 2);
                EXPECT_TRUE(e.Message().contains(QStringLiteral("out of range"))) << e.Message().toStdString();
            }
        }
    }
}

TEST_F(Reader, AFileAboveTheSizeLimitIsRefusedBeforeItIsRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("huge.vfm");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(MaxFormFileBytes + 1)); // sparse: nothing is written
    file.close();
    for (const QString& text : {QString(), QString(qsizetype(MaxFormFileBytes + 1), u' ')}) {
        try {
            if (text.isNull())
                ReadComponentRes(path, &Root);
            else
                ReadComponentText(text, &Root);
            ADD_FAILURE() << "an oversized form was read";
        } catch (const EReadError& e) {
            EXPECT_TRUE(e.Message().contains(QStringLiteral("64 MiB"))) << e.Message().toStdString();
        }
    }
    EXPECT_EQ(Root.ComponentCount(), 0);
    // The limit itself is no obstacle to a file just below it.
    EXPECT_NO_THROW(CheckFormFileSize(MaxFormFileBytes));
}

TEST_F(Reader, APropertyWithTooManyValuesIsRefusedAndTheReadTakenBack)
{
    const auto form = [](int values) {
        QString text = QStringLiteral("object M: TDataModule\n  object J: TPrintJob\n  end\n  object X: TMultiPrintJob\n    PrintJobs = (");
        text.reserve(text.size() + values * 4 + 32);
        for (int i = 0; i < values; ++i)
            text += QStringLiteral("'J' ");
        return text + QStringLiteral(")\n  end\nend\n");
    };
    try {
        ReadComponentText(form(MaxPropertyValues + 1), &Root);
        ADD_FAILURE() << "read without error";
    } catch (const EReadError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("more than %1 values").arg(MaxPropertyValues))) << e.Message().toStdString();
    }
    EXPECT_EQ(Root.ComponentCount(), 0);
    // A long list well inside the limit reads.
    ReadComponentText(form(100000), &Root);
    EXPECT_EQ(dynamic_cast<TMultiPrintJob*>(Root.FindComponent("X"))->GetPrintJobCount(), 100000);
}

TEST_F(Reader, ARefusedFileLeavesTheOwnerAsItWas)
{
    // Each file makes components before it is refused; none of them stays, the owner's own
    // components keep their names and places, and the next good file reads.
    const QString jobs = QStringLiteral("  object New1: TPrintJob\n    PageCount = 2\n  end\n  object New2: TPrintJob\n  end\n");
    QString manyValues = QStringLiteral("  object X: TMultiPrintJob\n    PrintJobs = (");
    for (int i = 0; i <= MaxPropertyValues; ++i)
        manyValues += QStringLiteral("'J' ");
    manyValues += QStringLiteral(")\n  end\n");
    const struct {
        const char* Name;
        QString Tail;
        const char* Message;
    } cases[] = {
        {"too many values", manyValues, "more than"},
        {"values nested too deep", QStringLiteral("  object Y: TMultiPrintJob\n    PrintJobs = %1%2\n  end\n")
            .arg(QString(MaxValueDepth + 1, u'('), QString(MaxValueDepth + 1, u')')), "nested more than"},
        {"integer out of range", QStringLiteral("  object Z: TPrintJob\n    PageCount = 9999999999999999999\n  end\n"), "out of range"},
        {"name taken by the owner", QStringLiteral("  object Kept1: TPrintJob\n  end\n"), "already exists"},
        {"unknown class last", QStringLiteral("  object W: TNoSuchJob\n  end\n"), "unknown class"},
    };
    TDataModule& owner = Root;
    auto* kept1 = new TPrintJob(&owner);
    kept1->SetName(QStringLiteral("Kept1"));
    auto* kept2 = new TPrintJob(&owner);
    kept2->SetName(QStringLiteral("Kept2"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        try {
            ReadComponentText(QStringLiteral("object Module1: TDataModule\n") + jobs + c.Tail + QStringLiteral("end\n"), &owner);
            ADD_FAILURE() << "read without error";
        } catch (const EReadError& e) {
            EXPECT_TRUE(e.Message().contains(QLatin1String(c.Message))) << e.Message().toStdString();
        }
        ASSERT_EQ(owner.ComponentCount(), 2);
        EXPECT_EQ(owner.Components(0), kept1);
        EXPECT_EQ(owner.Components(1), kept2);
        EXPECT_EQ(owner.FindComponent(QStringLiteral("kept2")), kept2);
        EXPECT_EQ(owner.FindComponent(QStringLiteral("New1")), nullptr);
        EXPECT_FALSE(owner.HasState(csLoading));
        EXPECT_FALSE(kept1->HasState(csLoading));
    }
    ReadComponentText(QStringLiteral("object Module1: TDataModule\n") + jobs + QStringLiteral("end\n"), &owner);
    EXPECT_EQ(owner.ComponentCount(), 4);
    EXPECT_EQ(dynamic_cast<TPrintJob*>(owner.FindComponent(QStringLiteral("new1")))->PageCount(), 2);
}

TEST_F(Reader, AJobReadFromAFileUpdatesOnceWhenTheReadingEnds)
{
    // Each of these setters updates a job made in code; read from a file, the job's page is
    // reset and its subscribers told once, after its last property.
    int updates = 0;
    int pageCountSeen = 0;
    Root.RegisterMethod("Counted", QVariant::fromValue(TNotifyEvent([&](TComponent* sender) {
        ++updates;
        pageCountSeen = dynamic_cast<TPrintJob*>(sender)->PageCount();
    })));
    ReadComponentText(QStringLiteral("object Module1: TDataModule\n  object J: TPrintJob\n    OnUpdate = Counted\n"
                                     "    PageCount = 3\n    Header = 5\n    Options = [joHeader]\n  end\nend\n"), &Root);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(pageCountSeen, 3);
    // Once read, every change updates again.
    dynamic_cast<TPrintJob*>(Root.FindComponent("J"))->SetPageCount(4);
    EXPECT_EQ(updates, 2);
}

} // namespace
