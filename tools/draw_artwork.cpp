// Writes the music signs the staff draws (data/Images/MusicSigns.svg): the two clefs,
// the sharp and flat signs and the note of the "listen" picture, as outlines taken
// from the FreeSerif font, so the program needs neither the font nor a picture of a
// fixed size. Everything else on the staff and the fretboard is drawn by the views.
//
// Each sign is one path whose id the staff draws it by, in its own frame:
//   TrebleClef, BassClef  relative to the top staff line's left end, staff space 20
//   Sharp, Flat           in the 35 x 94 box of a sign
//   Note                  in the 106 x 121 box of the prompt picture
//
// Usage: fretlore_artwork OUTPUT_DIR   (tools/make-artwork writes it into data/Images).

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainterPath>
#include <QTextStream>

#include <cstdio>

namespace {

struct Sign {
    const char* id;
    char32_t glyph;
    double pixelSize;
    double x, y; // where the glyph's baseline starts
};

constexpr Sign kSigns[] = {
    {"TrebleClef", U'\U0001D11E', 118, 2, 78}, // the curl on the G line
    {"BassClef", U'\U0001D122', 96, 6, 74.2},  // the dots in the spaces around the F line
    {"Sharp", U'\u266F', 62, 6, 68},           // centred on the middle of the box
    {"Flat", U'\u266D', 62, 8, 78},            // the belly at three quarters of the height
    {"Note", U'\u266A', 64, 12, 88},
};

QString Number(double value)
{
    return QString::number(value, 'f', 2);
}

QString PathData(const QPainterPath& path)
{
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            d += QStringLiteral("M%1 %2").arg(Number(e.x), Number(e.y));
        } else if (e.isLineTo()) {
            d += QStringLiteral("L%1 %2").arg(Number(e.x), Number(e.y));
        } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                     .arg(Number(e.x), Number(e.y), Number(c2.x), Number(c2.y), Number(end.x), Number(end.y));
            i += 2;
        }
    }
    return d + QLatin1Char('Z');
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
    const QString fontFile = QStringLiteral("/usr/share/fonts/truetype/freefont/FreeSerif.ttf");
    if (QFontDatabase::addApplicationFont(fontFile) < 0) {
        std::fprintf(stderr, "cannot read %s (package fonts-freefont-ttf)\n", qPrintable(fontFile));
        return 1;
    }
    const QString path = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/MusicSigns.svg");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    QTextStream out(&file);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<!-- Glyph outlines from GNU FreeSerif (GPLv3 with the font exception); "
           "drawn by tools/draw_artwork.cpp -->\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"580\" height=\"250\" "
           "viewBox=\"0 0 580 250\">\n";
    for (const Sign& sign : kSigns) {
        QFont font(QStringLiteral("FreeSerif"));
        font.setPixelSize(qRound(sign.pixelSize));
        QPainterPath glyph;
        glyph.addText(QPointF(sign.x, sign.y), font, QString::fromUcs4(&sign.glyph, 1));
        out << "  <path id=\"" << sign.id << "\" fill=\"black\" d=\"" << PathData(glyph) << "\"/>\n";
    }
    out << "</svg>\n";
    return out.status() == QTextStream::Ok && file.flush() ? 0 : 1;
}
