// Draws the wizard's window icon and its two banner logos into a folder, as the BMP files
// that the wizard's resources hold. Run by hand when the artwork changes; its output is
// committed, so that builds never depend on the fonts of the machine that builds them.
#include <QDir>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cstdio>
#include <limits>
#include <map>
#include <utility>
#include <vector>

namespace {

const QColor kServiceBlue(0x1f, 0x6f, 0xb2);
const QColor kServiceNavy(0x13, 0x3f, 0x6b);
const QColor kResponderOrange(0xf0, 0x8a, 0x24);
const QColor kPublisherGreen(0x2e, 0x7d, 0x4f);
const QColor kPublisherDark(0x1d, 0x4f, 0x33);
const QColor kCaptionGrey(0x6b, 0x72, 0x7a);

// How the service's mark is filled: the icon is a full square with a gradient (24 bits have
// no transparent corners); the banner logo is rounded and flat, so that its anti-aliased
// edges stay within a 256-colour palette without banding.
enum class MarkStyle { IconSquare, LogoFlat };

// A white arrow pointing right, centred on `centre`: the letter goes out by itself.
void drawSendArrow(QPainter& p, QPointF centre, qreal size) {
    p.setPen(QPen(Qt::white, size * 0.32, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(centre + QPointF(-size * 0.55, 0), centre + QPointF(size * 0.1, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF{centre + QPointF(size * 0.6, 0), centre + QPointF(0, -size * 0.5),
                            centre + QPointF(0, size * 0.5)});
}

// The service's mark, a letter with a reply badge, inside the square `box`.
void drawServiceMark(QPainter& p, const QRectF& box, MarkStyle style) {
    const qreal s = box.width() / 32.0;
    p.save();
    p.translate(box.topLeft());
    p.scale(s, s);
    p.setPen(Qt::NoPen);
    if (style == MarkStyle::IconSquare) {
        QLinearGradient sky(0, 0, 0, 32);
        sky.setColorAt(0, kServiceBlue);
        sky.setColorAt(1, kServiceNavy);
        p.setBrush(sky);
        p.drawRect(QRectF(0, 0, 32, 32));
    } else {
        p.setBrush(kServiceBlue);
        p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);
    }

    // The letter.
    const QRectF letter(5.5, 8.5, 19, 13);
    p.setBrush(Qt::white);
    p.drawRect(letter);
    p.setPen(QPen(kServiceNavy, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(
        QPolygonF{letter.topLeft(), QPointF(letter.center().x(), 16), letter.topRight()});

    // The reply badge: an orange disc with a white arrow.
    const QPointF badge(23.5, 22.5);
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(kResponderOrange);
    p.drawEllipse(badge, 6.5, 6.5);
    drawSendArrow(p, badge, 7);
    p.restore();
}

// The publisher's mark, a plug, inside the square `box`.
void drawPublisherMark(QPainter& p, const QRectF& box) {
    const qreal s = box.width() / 32.0;
    p.save();
    p.translate(box.topLeft());
    p.scale(s, s);
    QLinearGradient leaf(0, 0, 0, 32);
    leaf.setColorAt(0, kPublisherGreen.lighter(115));
    leaf.setColorAt(1, kPublisherDark);
    p.setPen(Qt::NoPen);
    p.setBrush(leaf);
    p.drawEllipse(QRectF(0.5, 0.5, 31, 31));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(11.5, 6.5, 2.5, 6));  // prongs
    p.drawRect(QRectF(18.0, 6.5, 2.5, 6));
    QPainterPath body;
    body.addRoundedRect(QRectF(8.5, 12, 15, 9), 2.5, 2.5);
    p.drawPath(body);
    p.drawRect(QRectF(14.5, 20.5, 3, 6));  // cord
    p.restore();
}

QImage blank(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// A bold name over a small grey caption, the name as large as fits the area's width, up to
// `namePixels`.
void drawWordmark(QPainter& p, const QRectF& area, const QString& name, int namePixels,
                  const QColor& nameColour, const QString& caption) {
    QFont nameFont("DejaVu Sans");
    nameFont.setBold(true);
    for (nameFont.setPixelSize(namePixels);
         namePixels > 8 && QFontMetricsF(nameFont).horizontalAdvance(name) > area.width() - 2;
         nameFont.setPixelSize(--namePixels)) {
    }
    p.setFont(nameFont);
    p.setPen(nameColour);
    const QRectF nameBox(area.left(), area.top(), area.width(), namePixels + 4);
    p.drawText(nameBox, Qt::AlignLeft | Qt::AlignBottom, name);

    QFont captionFont("DejaVu Sans");
    captionFont.setPixelSize(9);
    p.setFont(captionFont);
    p.setPen(kCaptionGrey);
    p.drawText(QRectF(area.left() + 1, nameBox.bottom() + 1, area.width(), 11),
               Qt::AlignLeft | Qt::AlignTop, caption);
}

// The image in 8-bit palette form with a full table of 256 entries: its most frequent
// colours, every pixel mapped to the nearest of them. Qt's own conversion falls back to a
// fixed colour cube when an image has more colours, which fringes anti-aliased edges.
QImage toPalette256(const QImage& source) {
    const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
    std::map<QRgb, int> frequency;
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) ++frequency[rgb.pixel(x, y) | 0xff000000u];
    }
    std::vector<std::pair<int, QRgb>> ranked;
    for (const auto& [colour, count] : frequency) ranked.emplace_back(-count, colour);
    std::sort(ranked.begin(), ranked.end());
    QList<QRgb> table;
    for (const auto& entry : ranked) {
        if (table.size() == 256) break;
        table.append(entry.second);
    }
    while (table.size() < 256) table.append(qRgb(255, 255, 255));

    auto nearest = [&table](QRgb c) {
        int best = 0;
        long bestDistance = std::numeric_limits<long>::max();
        for (int i = 0; i < table.size(); ++i) {
            const long dr = qRed(c) - qRed(table[i]), dg = qGreen(c) - qGreen(table[i]),
                       db = qBlue(c) - qBlue(table[i]);
            const long distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) bestDistance = distance, best = i;
        }
        return best;
    };
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    indexed.setColorTable(table);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) indexed.setPixel(x, y, nearest(rgb.pixel(x, y)));
    }
    return indexed;
}

// 32 x 32 in 24-bit colour.
QImage windowIcon() {
    QImage image = blank(32, 32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawServiceMark(p, QRectF(0, 0, 32, 32), MarkStyle::IconSquare);
    p.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

// 112 x 40 in 256 palette colours.
QImage serviceLogo() {
    QImage image = blank(112, 40);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawServiceMark(p, QRectF(3, 4, 32, 32), MarkStyle::LogoFlat);
    drawWordmark(p, QRectF(40, 3, 72, 34), "Ostrel", 19, kServiceNavy, "autoresponder");
    p.end();
    return toPalette256(image);
}

// 112 x 41 in 24-bit colour.
QImage publisherLogo() {
    QImage image = blank(112, 41);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawPublisherMark(p, QRectF(3, 4.5, 32, 32));
    drawWordmark(p, QRectF(40, 4, 72, 34), "Publisher", 14, kPublisherDark, "web tools");
    p.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

bool save(const QImage& image, const QDir& folder, const char* name) {
    const QString path = folder.filePath(name);
    if (image.save(path, "BMP")) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool ok = save(windowIcon(), folder, "frmOstWiz.bmp") &&
                    save(serviceLogo(), folder, "Image1.bmp") &&
                    save(publisherLogo(), folder, "Image2.bmp");
    return ok ? 0 : 1;
}
