#include "TestSupport.h"

#include <QProcess>
#include <QRegularExpression>

namespace Vellaro::Testing {

void RecordingPrinterTest::Install(int dpiX, int dpiY, QSize portraitPixels)
{
    if (FDevice)
        Printer()->RemovePrinter(FDevice);
    Printer()->SetPrintersHidden(false);
    Printer()->SetOrientation(poPortrait);
    FDevice = Printer()->AddRecordingPrinter(QStringLiteral("Recorder"), dpiX, dpiY, portraitPixels);
}

void RecordingPrinterTest::TearDown()
{
    if (Printer()->Printing())
        Printer()->Abort();
    Printer()->SetPrintersHidden(false);
    Printer()->RemovePrinter(FDevice);
    Printer()->SetOrientation(poPortrait);
    FDevice = nullptr;
}

std::vector<TDrawRecord> RecordingPrinterTest::OfKind(const std::vector<TDrawRecord>& records, TDrawRecord::TKind kind)
{
    std::vector<TDrawRecord> result;
    for (const TDrawRecord& r : records)
        if (r.Kind == kind)
            result.push_back(r);
    return result;
}

QStringList RecordingPrinterTest::Texts(const std::vector<TDrawRecord>& records)
{
    QStringList texts;
    for (const TDrawRecord& r : records)
        if (r.Kind == TDrawRecord::drText)
            texts << r.Text;
    return texts;
}

namespace {
QString Run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed on " << args.join(' ').toStdString() << ": "
                      << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}
} // namespace

PdfInfo ReadPdfInfo(const QString& path)
{
    PdfInfo info;
    const QString out = Run(QStringLiteral("pdfinfo"), {path});
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out);
    if (pages.hasMatch())
        info.Pages = pages.captured(1).toInt();
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(out);
    if (size.hasMatch()) {
        info.WidthPt = size.captured(1).toDouble();
        info.HeightPt = size.captured(2).toDouble();
    }
    const auto rotation = QRegularExpression(QStringLiteral("Page rot:\\s+(\\d+)")).match(out);
    if (rotation.hasMatch())
        info.RotationDegrees = rotation.captured(1).toInt();
    const auto title = QRegularExpression(QStringLiteral("Title:\\s+(.*)")).match(out);
    if (title.hasMatch())
        info.Title = title.captured(1).trimmed();
    return info;
}

QString ReadPdfText(const QString& path)
{
    return Run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
}

QImage RasterizePdfPage(const QString& path, int page, int dpi)
{
    const QString prefix = path + QStringLiteral("-page%1-%2dpi").arg(page).arg(dpi);
    Run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-r"), QString::number(dpi),
        QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page), path, prefix});
    QImage image(prefix + QStringLiteral(".png"));
    if (image.isNull())
        ADD_FAILURE() << "no image of page " << page << " of " << path.toStdString();
    return image;
}

QImage RasterizePdfPage(const QString& path, int page, QSize size)
{
    const QString prefix = path + QStringLiteral("-page%1-%2x%3").arg(page).arg(size.width()).arg(size.height());
    Run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-f"), QString::number(page),
        QStringLiteral("-l"), QString::number(page), QStringLiteral("-scale-to-x"), QString::number(size.width()),
        QStringLiteral("-scale-to-y"), QString::number(size.height()), path, prefix});
    QImage image(prefix + QStringLiteral(".png"));
    if (image.isNull())
        ADD_FAILURE() << "no image of page " << page << " of " << path.toStdString();
    return image;
}

std::pair<double, int> ImageDifference(const QImage& a, const QImage& b, int factor)
{
    const QSize reduced(a.width() / factor, a.height() / factor);
    const QImage ra = a.convertToFormat(QImage::Format_RGB32).scaled(reduced, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage rb = b.convertToFormat(QImage::Format_RGB32).scaled(reduced, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double sum = 0;
    int largest = 0;
    for (int y = 0; y < reduced.height(); ++y)
        for (int x = 0; x < reduced.width(); ++x) {
            const QColor ca = ra.pixelColor(x, y), cb = rb.pixelColor(x, y);
            const int d = (std::abs(ca.red() - cb.red()) + std::abs(ca.green() - cb.green()) + std::abs(ca.blue() - cb.blue())) / 3;
            sum += d;
            largest = std::max(largest, d);
        }
    return {sum / (reduced.width() * reduced.height()), largest};
}

} // namespace Vellaro::Testing
