#include "TestSupport.h"

#include <QProcess>
#include <algorithm>
#include <cmath>
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

std::vector<QSizeF> ReadPdfPageSizes(const QString& path)
{
    const PdfInfo info = ReadPdfInfo(path);
    const QString out = Run(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
        QString::number(std::max(info.Pages, 1)), path});
    std::vector<QSizeF> sizes(size_t(std::max(info.Pages, 0)));
    std::vector<int> rotations(sizes.size(), 0);
    const QRegularExpression sizeLine(QStringLiteral("Page\\s+(\\d+) size:\\s+([\\d.]+) x ([\\d.]+) pts"));
    const QRegularExpression rotLine(QStringLiteral("Page\\s+(\\d+) rot:\\s+(\\d+)"));
    for (auto it = sizeLine.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        const int page = m.captured(1).toInt();
        if (page >= 1 && page <= int(sizes.size()))
            sizes[size_t(page - 1)] = QSizeF(m.captured(2).toDouble(), m.captured(3).toDouble());
    }
    for (auto it = rotLine.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        const int page = m.captured(1).toInt();
        if (page >= 1 && page <= int(sizes.size()))
            rotations[size_t(page - 1)] = m.captured(2).toInt();
    }
    for (size_t i = 0; i < sizes.size(); ++i)
        if (rotations[i] % 180 == 90)
            sizes[i].transpose();
    return sizes;
}

QString ShapeMismatch(const QString& path, int page, QSize shown, double tolerance)
{
    const std::vector<QSizeF> sizes = ReadPdfPageSizes(path);
    if (page < 1 || page > int(sizes.size()))
        return QStringLiteral("the PDF has no page %1").arg(page);
    const QSizeF printed = sizes[size_t(page - 1)];
    if (printed.isEmpty() || shown.isEmpty())
        return QStringLiteral("an empty page");
    // The shown width the printed proportions give for the shown height.
    const double width = shown.height() * printed.width() / printed.height();
    if (std::abs(width - shown.width()) <= tolerance)
        return {};
    return QStringLiteral("printed page %1 is %2 x %3 pt, shown %4 x %5 px").arg(page).arg(printed.width()).arg(printed.height())
        .arg(shown.width()).arg(shown.height());
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

double UnmatchedInkPercent(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) {
        ADD_FAILURE() << "images of different sizes";
        return 100;
    }
    const int w = a.width(), h = a.height();
    const auto inkMap = [w, h](const QImage& image) {
        const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
        std::vector<bool> ink(size_t(w) * size_t(h));
        for (int y = 0; y < h; ++y) {
            const uchar* line = gray.constScanLine(y);
            for (int x = 0; x < w; ++x)
                ink[size_t(y) * size_t(w) + size_t(x)] = line[x] < 128;
        }
        return ink;
    };
    const std::vector<bool> inkA = inkMap(a), inkB = inkMap(b);
    const auto nearInk = [w, h](const std::vector<bool>& ink, int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx >= 0 && ny >= 0 && nx < w && ny < h && ink[size_t(ny) * size_t(w) + size_t(nx)])
                    return true;
            }
        return false;
    };
    qint64 total = 0, unmatched = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * size_t(w) + size_t(x);
            if (inkA[i]) {
                ++total;
                unmatched += !nearInk(inkB, x, y);
            }
            if (inkB[i]) {
                ++total;
                unmatched += !nearInk(inkA, x, y);
            }
        }
    return total == 0 ? 0.0 : 100.0 * double(unmatched) / double(total);
}

} // namespace Vellaro::Testing
