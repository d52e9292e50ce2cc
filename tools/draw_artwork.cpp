// Draws the program's pictures: the four fretboards, the two staves, the sharp and
// flat signs and the frames of the prompt animation. Frets sit at the fret-width
// columns and strings at the taper positions the views lay their cells out from; the
// staff lines lie on the staff work area (x 60..480, y 80..160, 20 pixels apart).
//
// Usage: fretlore_artwork OUTPUT_DIR   (tools/make-artwork turns the output into the
// committed GIF and JPEG files, each also at twice the size as NAME@2x.EXT).

#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <array>
#include <cstdio>

namespace {

constexpr std::array<double, 14> kFretWidths = {3, 10.6, 10, 8.4, 9, 8.8, 8.4, 6.8, 7.2, 6, 6.4, 5.6, 5.6, 4.4};
constexpr int kBoardWidth = 580;
constexpr int kBoardHeight = 100;
constexpr int kSheetWidth = 580;
constexpr int kSheetHeight = 250;

struct Board {
    const char* name;
    int strings;
    double taperMin;
    double taperMax;
    bool realistic;
};

// Left edge of a 1-based column, in unscaled pixels.
double ColumnLeft(int column)
{
    double x = 0;
    for (int k = 1; k < column; ++k)
        x += kBoardWidth * kFretWidths[k - 1] / 100.0;
    return x;
}

double StringY(const Board& board, int string, double x)
{
    const double gapNut = board.taperMin / (board.strings - 1);
    const double gapFar = board.taperMax / (board.strings - 1);
    const double yNut = (kBoardHeight + board.taperMin) / 2 - (string - 1) * gapNut;
    const double yFar = (kBoardHeight + board.taperMax) / 2 - (string - 1) * gapFar;
    return yNut + (yFar - yNut) * x / kBoardWidth;
}

QImage NewImage(int width, int height, int scale, QColor fill)
{
    QImage image(width * scale, height * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

void DrawWood(QPainter& p, const QPolygonF& neck)
{
    QLinearGradient wood(0, 0, 0, kBoardHeight);
    wood.setColorAt(0.0, QColor(72, 42, 28));
    wood.setColorAt(0.5, QColor(96, 58, 36));
    wood.setColorAt(1.0, QColor(66, 38, 25));
    p.setPen(Qt::NoPen);
    p.setBrush(wood);
    p.drawPolygon(neck);
    // Grain: long thin streaks clipped to the neck.
    p.save();
    QPainterPath clip;
    clip.addPolygon(neck);
    p.setClipPath(clip);
    QRandomGenerator random(7);
    for (int i = 0; i < 90; ++i) {
        const double y = random.bounded(kBoardHeight * 1.0);
        const int shade = 40 + random.bounded(40);
        p.setPen(QPen(QColor(shade, shade / 2, shade / 3, 70), 0.6 + random.bounded(1.0)));
        const double x0 = random.bounded(kBoardWidth * 1.0) - 100;
        p.drawLine(QPointF(x0, y), QPointF(x0 + 150 + random.bounded(250.0), y + random.bounded(3.0) - 1.5));
    }
    p.restore();
}

void DrawInlays(QPainter& p, const Board& board, QColor colour)
{
    p.setPen(Qt::NoPen);
    const double radius = board.realistic ? 3.5 : 3.0;
    const auto inlay = [&](int column, double y) {
        const double x = (ColumnLeft(column) + ColumnLeft(column + 1)) / 2;
        QRadialGradient pearl(QPointF(x - 1, y - 1), radius * 1.4);
        pearl.setColorAt(0, colour.lighter(125));
        pearl.setColorAt(1, colour);
        p.setBrush(board.realistic ? QBrush(pearl) : QBrush(colour));
        p.drawEllipse(QPointF(x, y), radius, radius);
    };
    const double middle = kBoardHeight / 2.0;
    // Single dots between the middle strings, the double dot of fret 12 between the
    // outer pairs.
    const double gap = (board.taperMin + board.taperMax) / 2 / (board.strings - 1);
    const double single = board.strings % 2 == 0 ? middle : middle + gap / 2;
    const double spread = (board.strings - 2) / 2.0 * gap;
    for (int fret : {3, 5, 7, 9})
        inlay(fret + 1, single);
    inlay(13, middle - spread);
    inlay(13, middle + spread);
}

void DrawFrets(QPainter& p, const Board& board, const QPolygonF& neck)
{
    p.save();
    QPainterPath clip;
    clip.addPolygon(neck);
    p.setClipPath(clip);
    // The nut closes the open-string column.
    const double nut = ColumnLeft(2);
    p.setPen(Qt::NoPen);
    p.setBrush(board.realistic ? QColor(236, 226, 200) : QColor(40, 40, 40));
    p.drawRect(QRectF(nut - 2.5, 0, 4, kBoardHeight));
    for (int column = 3; column <= 15; ++column) {
        const double x = ColumnLeft(column);
        if (board.realistic) {
            QLinearGradient wire(x - 1.5, 0, x + 1.5, 0);
            wire.setColorAt(0, QColor(140, 140, 145));
            wire.setColorAt(0.5, QColor(235, 235, 240));
            wire.setColorAt(1, QColor(120, 120, 125));
            p.setBrush(wire);
            p.drawRect(QRectF(x - 1.5, 0, 3, kBoardHeight));
        } else {
            p.setBrush(QColor(120, 120, 120));
            p.drawRect(QRectF(x - 1, 0, 2, kBoardHeight));
        }
    }
    p.restore();
}

void DrawStrings(QPainter& p, const Board& board)
{
    for (int s = 1; s <= board.strings; ++s) {
        const double thickness = board.strings == 6 ? 2.4 - (s - 1) * 0.3 : 3.0 - (s - 1) * 0.35;
        const bool wound = board.strings == 6 ? s <= 3 : true;
        QColor colour = board.realistic ? (wound ? QColor(205, 190, 160) : QColor(225, 225, 230))
                                        : QColor(90, 90, 90);
        if (board.realistic) {
            p.setPen(QPen(QColor(20, 10, 5, 120), thickness + 1.2, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(0, StringY(board, s, 0) + 1), QPointF(kBoardWidth, StringY(board, s, kBoardWidth) + 1));
        }
        p.setPen(QPen(colour, thickness, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(0, StringY(board, s, 0)), QPointF(kBoardWidth, StringY(board, s, kBoardWidth)));
    }
}

QImage DrawBoard(const Board& board, int scale)
{
    QImage image = NewImage(kBoardWidth, kBoardHeight, scale,
                            board.realistic ? QColor(38, 36, 40) : QColor(250, 246, 236));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    // The neck is a little wider than the outer strings, following their taper.
    const double edge = board.realistic ? 9 : 8;
    const double top0 = StringY(board, board.strings, 0) - edge;
    const double bot0 = StringY(board, 1, 0) + edge;
    const double top1 = StringY(board, board.strings, kBoardWidth) - edge;
    const double bot1 = StringY(board, 1, kBoardWidth) + edge;
    const QPolygonF neck({QPointF(0, top0), QPointF(kBoardWidth, top1), QPointF(kBoardWidth, bot1), QPointF(0, bot0)});
    if (board.realistic) {
        DrawWood(p, neck);
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 253, 247));
        p.drawPolygon(neck);
        p.setPen(QPen(QColor(150, 140, 120), 1));
        p.drawLine(neck[0], neck[1]);
        p.drawLine(neck[3], neck[2]);
    }
    DrawInlays(p, board, board.realistic ? QColor(226, 222, 210) : QColor(214, 208, 196));
    DrawFrets(p, board, neck);
    DrawStrings(p, board);
    return image;
}

QFont MusicFont(double pixelSize)
{
    QFont font(QStringLiteral("FreeSerif"));
    font.setPixelSize(qRound(pixelSize));
    return font;
}

// Draws glyph so that its reference point (the baseline's left end) is at (x, y).
void DrawGlyph(QPainter& p, const QString& glyph, double pixelSize, double x, double y)
{
    QPainterPath path;
    path.addText(QPointF(x, y), MusicFont(pixelSize), glyph);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPath(path);
}

QImage DrawSheet(bool bass, int scale)
{
    QImage image = NewImage(kSheetWidth, kSheetHeight, scale, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    p.setPen(QPen(Qt::black, 1.2));
    for (int line = 0; line < 5; ++line)
        p.drawLine(QPointF(60, 80 + line * 20), QPointF(480, 80 + line * 20));
    p.drawLine(QPointF(60, 80), QPointF(60, 160));
    p.drawLine(QPointF(480, 80), QPointF(480, 160));
    if (bass)
        DrawGlyph(p, QString::fromUcs4(U"\U0001D122"), 96, 66, 148); // F clef, dots around the F line
    else
        DrawGlyph(p, QString::fromUcs4(U"\U0001D11E"), 118, 62, 158); // G clef, curl on the G line
    return image;
}

QImage DrawSign(bool flat, int scale)
{
    QImage image = NewImage(35, 94, scale, Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    if (flat)
        DrawGlyph(p, QString(QChar(0x266D)), 62, 8, 78); // belly at three quarters of the height
    else
        DrawGlyph(p, QString(QChar(0x266F)), 62, 6, 68); // centred on the middle
    return image;
}

// One frame of the "listen" animation: a note with sound waves growing out of it.
QImage DrawPromptFrame(int frame, int scale)
{
    QImage image = NewImage(106, 121, scale, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    p.setPen(QPen(QColor(30, 90, 170), 2));
    p.setBrush(QColor(230, 240, 252));
    p.drawRoundedRect(QRectF(3, 3, 100, 115), 14, 14);
    DrawGlyph(p, QString(QChar(0x266A)), 64, 12, 88);
    for (int wave = 0; wave < 3; ++wave) {
        const int alpha = wave <= frame ? 255 : 40;
        p.setPen(QPen(QColor(30, 90, 170, alpha), 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        const double r = 14 + wave * 11;
        p.drawArc(QRectF(52 - r, 60 - r, 2 * r, 2 * r), -40 * 16, 80 * 16);
    }
    return image;
}

bool Save(const QImage& image, const QString& path)
{
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QString Suffixed(const QString& dir, const char* name, int scale, const char* ext)
{
    return dir + QLatin1Char('/') + QLatin1String(name) + (scale == 2 ? QStringLiteral("@2x") : QString())
        + QLatin1Char('.') + QLatin1String(ext);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/fonts/truetype/freefont/FreeSerif.ttf"));
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);

    const Board boards[] = {
        {"Fretboard", 6, 50, 55, true},
        {"FretboardSimple", 6, 60, 60, false},
        {"FretboardSimpleBass", 4, 60, 60, false},
        {"FretboardSimpleBassFive", 5, 60, 60, false},
    };
    bool ok = true;
    for (int scale : {1, 2}) {
        for (const Board& board : boards)
            ok &= Save(DrawBoard(board, scale), Suffixed(out, board.name, scale, "png"));
        ok &= Save(DrawSheet(false, scale), Suffixed(out, "Sheet", scale, "png"));
        ok &= Save(DrawSheet(true, scale), Suffixed(out, "SheetBass", scale, "png"));
        ok &= Save(DrawSign(false, scale), Suffixed(out, "Sharp", scale, "png"));
        ok &= Save(DrawSign(true, scale), Suffixed(out, "Flat", scale, "png"));
        for (int frame = 0; frame < 4; ++frame) {
            const QString name = QStringLiteral("PromptFrame%1").arg(frame);
            ok &= Save(DrawPromptFrame(frame, scale), Suffixed(out, qPrintable(name), scale, "png"));
        }
    }
    return ok ? 0 : 1;
}
