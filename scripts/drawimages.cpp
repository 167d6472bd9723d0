// Draws the front panel's images into a folder (default: resources/images of the source tree).
//
// One style for all of them: line glyphs with round caps and joins, a 4-pixel stroke on a
// 48 x 48 canvas, transparent background. One palette: accent blue for neutral glyphs (they sit
// on white buttons as well as on the dark menu column), green for confirming and calling, red
// for ending and switching off, near-black and white only where the image name asks for it.
//
// Build and run:  cmake --build <build> --target tallydesk_drawimages
//                 <build>/resources/tallydesk_drawimages [output folder]

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cstdio>
#include <functional>

namespace {

const QColor kBlue(0, 162, 232);
const QColor kGreen(0, 176, 80);
const QColor kRed(230, 60, 50);
const QColor kInk(40, 40, 40);
const QColor kWhite(255, 255, 255);
const QColor kTrackOff(90, 90, 90);
const QColor kKnobOff(200, 200, 200);
constexpr qreal kStroke = 4.0;

QPen glyphPen(const QColor &color, qreal width = kStroke)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

using Drawing = std::function<void(QPainter &)>;

bool save(const QString &folder, const QString &name, QSize size, const Drawing &draw)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        draw(painter);
    }
    const QString path = QDir(folder).filePath(name);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

void headphone(QPainter &p, const QColor &color)
{
    p.setPen(glyphPen(color));
    p.setBrush(Qt::NoBrush);
    QPainterPath band;
    band.moveTo(9, 30);
    band.lineTo(9, 24);
    band.arcTo(QRectF(9, 7, 30, 34), 180, -180);
    band.lineTo(39, 30);
    p.drawPath(band);
    p.setBrush(color);
    p.drawRoundedRect(QRectF(5, 28, 8, 14), 3, 3);
    p.drawRoundedRect(QRectF(35, 28, 8, 14), 3, 3);
}

// A telephone handset, drawn lying from upper left to lower right and turned by `angle`. The
// dark outline keeps it readable on the connection tile, whose fill is green while a call is up
// and red or yellow while it ends: the same hues as the handsets themselves.
void handset(QPainter &p, const QColor &color, qreal angle)
{
    p.save();
    p.translate(24, 24);
    p.rotate(angle);
    p.setPen(glyphPen(kInk, 2.5));
    p.setBrush(color);
    QPainterPath body;
    body.moveTo(-19, -6);
    body.cubicTo(-19, -14, -12, -16, -6, -16);
    body.lineTo(6, -16);
    body.cubicTo(12, -16, 19, -14, 19, -6);
    body.lineTo(19, -2);
    body.cubicTo(19, 1, 17, 2, 15, 2);
    body.lineTo(9, 0);
    body.cubicTo(7, -1, 6, -3, 6, -5);
    body.lineTo(6, -8);
    body.lineTo(-6, -8);
    body.lineTo(-6, -5);
    body.cubicTo(-6, -3, -7, -1, -9, 0);
    body.lineTo(-15, 2);
    body.cubicTo(-17, 2, -19, 1, -19, -2);
    body.closeSubpath();
    p.drawPath(body);
    p.restore();
}

void drawArrowHead(QPainter &p, QPointF tip, qreal angleDeg, qreal size, const QColor &color)
{
    const qreal a = qDegreesToRadians(angleDeg);
    const QPointF back(-qCos(a) * size, -qSin(a) * size);
    const QPointF side(-qSin(a) * size * 0.6, qCos(a) * size * 0.6);
    QPolygonF head({tip, tip + back + side, tip + back - side});
    p.setPen(glyphPen(color, 2));
    p.setBrush(color);
    p.drawPolygon(head);
}

void gear(QPainter &p, const QColor &color)
{
    QPainterPath outline;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal r = (i % 2 == 0) ? 20.0 : 15.5;
        const qreal a0 = qDegreesToRadians(360.0 / (teeth * 2) * (i - 0.5));
        const qreal a1 = qDegreesToRadians(360.0 / (teeth * 2) * (i + 0.5));
        const QPointF p0(24 + r * qCos(a0), 24 + r * qSin(a0));
        const QPointF p1(24 + r * qCos(a1), 24 + r * qSin(a1));
        if (i == 0)
            outline.moveTo(p0);
        else
            outline.lineTo(p0);
        outline.lineTo(p1);
    }
    outline.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(24, 24), 6.5, 6.5);
    p.setPen(glyphPen(color, 2));
    p.setBrush(color);
    p.drawPath(outline.subtracted(hole));
}

void switchImage(QPainter &p, bool on)
{
    const QRectF track(2, 5, 56, 24);
    p.setPen(Qt::NoPen);
    p.setBrush(on ? kBlue : kTrackOff);
    p.drawRoundedRect(track, 12, 12);
    p.setBrush(on ? kWhite : kKnobOff);
    p.drawEllipse(on ? QPointF(45, 17) : QPointF(15, 17), 9.5, 9.5);
    // The state in words as well, for readers who do not tell the colours apart.
    p.setPen(on ? kWhite : kKnobOff);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    if (on)
        p.drawText(QRectF(6, 5, 28, 24), Qt::AlignCenter, QStringLiteral("ON"));
    else
        p.drawText(QRectF(26, 5, 30, 24), Qt::AlignCenter, QStringLiteral("OFF"));
}

void pairImage(QPainter &p, bool on)
{
    const QColor color = on ? kBlue : kTrackOff;
    p.setPen(glyphPen(color, 4));
    p.setBrush(Qt::NoBrush);
    if (on) {
        // Two closed links hooked into each other.
        p.drawRoundedRect(QRectF(5, 13, 24, 14), 7, 7);
        p.drawRoundedRect(QRectF(21, 13, 24, 14), 7, 7);
    } else {
        // The links pulled apart, each open towards the other.
        QPainterPath left;
        left.moveTo(19, 13);
        left.lineTo(10, 13);
        left.arcTo(QRectF(3, 13, 14, 14), 90, 180);
        left.lineTo(19, 27);
        QPainterPath right;
        right.moveTo(31, 13);
        right.lineTo(40, 13);
        right.arcTo(QRectF(33, 13, 14, 14), 90, -180);
        right.lineTo(31, 27);
        p.drawPath(left);
        p.drawPath(right);
        p.setPen(glyphPen(color, 2));
        p.drawLine(QPointF(25, 8), QPointF(25, 12));
        p.drawLine(QPointF(25, 28), QPointF(25, 32));
    }
}

} // namespace

int main(int argc, char **argv)
{
    // Drawing needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QStringLiteral(TALLYDESK_SOURCE_DIR "/resources/images");
    QDir().mkpath(folder);
    const QSize icon(48, 48);
    bool ok = true;

    ok &= save(folder, QStringLiteral("switch_on.png"), QSize(60, 34), [](QPainter &p) {
        switchImage(p, true);
    });
    ok &= save(folder, QStringLiteral("switch_off.png"), QSize(60, 34), [](QPainter &p) {
        switchImage(p, false);
    });
    ok &= save(folder, QStringLiteral("pair_on.png"), QSize(50, 40), [](QPainter &p) {
        pairImage(p, true);
    });
    ok &= save(folder, QStringLiteral("pair_off.png"), QSize(50, 40), [](QPainter &p) {
        pairImage(p, false);
    });

    ok &= save(folder, QStringLiteral("headphone-black.png"), icon, [](QPainter &p) {
        headphone(p, kInk);
    });
    ok &= save(folder, QStringLiteral("headphone-white.png"), icon, [](QPainter &p) {
        headphone(p, kWhite);
    });
    ok &= save(folder, QStringLiteral("phone-call.png"), icon, [](QPainter &p) {
        handset(p, kGreen, -45);
    });
    ok &= save(folder, QStringLiteral("phone-hangup.png"), icon, [](QPainter &p) {
        p.translate(0, 8);
        handset(p, kRed, 0);
    });

    ok &= save(folder, QStringLiteral("message.png"), icon, [](QPainter &p) {
        p.setPen(glyphPen(kBlue));
        p.setBrush(Qt::NoBrush);
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(5, 7, 38, 27), 7, 7);
        QPainterPath tail;
        tail.moveTo(14, 32);
        tail.lineTo(12, 42);
        tail.lineTo(24, 33);
        bubble = bubble.united(tail);
        p.drawPath(bubble);
        p.setPen(glyphPen(kBlue, 3));
        p.drawLine(QPointF(13, 17), QPointF(35, 17));
        p.drawLine(QPointF(13, 24), QPointF(28, 24));
    });
    ok &= save(folder, QStringLiteral("book.png"), icon, [](QPainter &p) {
        p.setPen(glyphPen(kBlue));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(10, 5, 30, 38), 3, 3);
        p.drawLine(QPointF(16, 5), QPointF(16, 43));
        p.drawLine(QPointF(6, 13), QPointF(10, 13));
        p.drawLine(QPointF(6, 24), QPointF(10, 24));
        p.drawLine(QPointF(6, 35), QPointF(10, 35));
        // A contact: head and shoulders.
        p.setPen(glyphPen(kBlue, 3));
        p.drawEllipse(QPointF(28, 19), 4.5, 4.5);
        QPainterPath shoulders;
        shoulders.moveTo(21, 34);
        shoulders.cubicTo(21, 27, 35, 27, 35, 34);
        p.drawPath(shoulders);
    });
    ok &= save(folder, QStringLiteral("call-history.png"), icon, [](QPainter &p) {
        p.setPen(glyphPen(kBlue));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6, 6, 36, 36), 110 * 16, 300 * 16);
        drawArrowHead(p, QPointF(13, 10), -130, 7, kBlue);
        p.setPen(glyphPen(kBlue));
        p.drawLine(QPointF(24, 14), QPointF(24, 24));
        p.drawLine(QPointF(24, 24), QPointF(31, 29));
    });
    ok &= save(folder, QStringLiteral("dialpad.png"), icon, [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 3; ++column) {
                if (row == 3 && column != 1)
                    continue;
                p.drawEllipse(QPointF(13 + column * 11, 7 + row * 11), 4, 4);
            }
        }
    });
    ok &= save(folder, QStringLiteral("coding.png"), icon, [](QPainter &p) {
        // An analogue wave turning into digital steps.
        p.setPen(glyphPen(kBlue, 3.5));
        p.setBrush(Qt::NoBrush);
        QPainterPath wave;
        wave.moveTo(4, 24);
        wave.cubicTo(8, 8, 14, 8, 18, 24);
        wave.cubicTo(20, 32, 22, 34, 24, 30);
        p.drawPath(wave);
        QPainterPath steps;
        steps.moveTo(24, 30);
        steps.lineTo(24, 14);
        steps.lineTo(32, 14);
        steps.lineTo(32, 34);
        steps.lineTo(40, 34);
        steps.lineTo(40, 18);
        steps.lineTo(44, 18);
        p.drawPath(steps);
        p.setPen(glyphPen(kBlue, 2));
        p.drawLine(QPointF(4, 42), QPointF(44, 42));
    });
    ok &= save(folder, QStringLiteral("mixer.png"), icon, [](QPainter &p) {
        const qreal x[3] = {12, 24, 36};
        const qreal knob[3] = {30, 14, 24};
        for (int i = 0; i < 3; ++i) {
            p.setPen(glyphPen(kBlue, 3));
            p.drawLine(QPointF(x[i], 5), QPointF(x[i], 43));
            p.setPen(glyphPen(kBlue, 2));
            p.setBrush(kBlue);
            p.drawRoundedRect(QRectF(x[i] - 5, knob[i] - 3.5, 10, 7), 2, 2);
        }
    });
    ok &= save(folder, QStringLiteral("settings.png"), icon, [](QPainter &p) { gear(p, kBlue); });
    ok &= save(folder, QStringLiteral("status.png"), icon, [](QPainter &p) {
        p.setPen(glyphPen(kBlue, 3));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(4, 8, 40, 32), 5, 5);
        QPainterPath pulse;
        pulse.moveTo(8, 26);
        pulse.lineTo(16, 26);
        pulse.lineTo(20, 16);
        pulse.lineTo(26, 34);
        pulse.lineTo(30, 22);
        pulse.lineTo(33, 26);
        pulse.lineTo(40, 26);
        p.setPen(glyphPen(kBlue, 3.5));
        p.drawPath(pulse);
    });
    ok &= save(folder, QStringLiteral("home.png"), icon, [](QPainter &p) {
        p.setPen(glyphPen(kBlue));
        p.setBrush(Qt::NoBrush);
        QPainterPath house;
        house.moveTo(5, 23);
        house.lineTo(24, 6);
        house.lineTo(43, 23);
        p.drawPath(house);
        QPainterPath body;
        body.moveTo(11, 19);
        body.lineTo(11, 42);
        body.lineTo(37, 42);
        body.lineTo(37, 19);
        p.drawPath(body);
        p.drawRect(QRectF(20, 29, 8, 13));
    });
    ok &= save(folder, QStringLiteral("network.png"), icon, [](QPainter &p) {
        p.setPen(glyphPen(kBlue, 3));
        p.drawLine(QPointF(24, 13), QPointF(24, 24));
        p.drawLine(QPointF(10, 24), QPointF(38, 24));
        p.drawLine(QPointF(10, 24), QPointF(10, 32));
        p.drawLine(QPointF(38, 24), QPointF(38, 32));
        p.drawLine(QPointF(24, 24), QPointF(24, 32));
        p.setPen(glyphPen(kBlue, 2));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(16, 3, 16, 11), 2, 2);
        p.drawRoundedRect(QRectF(3, 32, 14, 11), 2, 2);
        p.drawRoundedRect(QRectF(17, 32, 14, 11), 2, 2);
        p.drawRoundedRect(QRectF(31, 32, 14, 11), 2, 2);
    });
    ok &= save(folder, QStringLiteral("back.png"), icon, [](QPainter &p) {
        p.setPen(glyphPen(kBlue));
        p.setBrush(Qt::NoBrush);
        QPainterPath path;
        path.moveTo(14, 16);
        path.lineTo(30, 16);
        path.cubicTo(38, 16, 43, 21, 43, 28);
        path.cubicTo(43, 35, 38, 40, 30, 40);
        path.lineTo(18, 40);
        p.drawPath(path);
        drawArrowHead(p, QPointF(5, 16), 180, 10, kBlue);
    });
    ok &= save(folder, QStringLiteral("input-settings.png"), icon, [](QPainter &p) {
        // A microphone.
        p.setPen(glyphPen(kBlue));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(17, 4, 14, 24), 7, 7);
        QPainterPath cradle;
        cradle.moveTo(11, 20);
        cradle.cubicTo(11, 38, 37, 38, 37, 20);
        p.drawPath(cradle);
        p.drawLine(QPointF(24, 34), QPointF(24, 43));
        p.drawLine(QPointF(16, 43), QPointF(32, 43));
    });
    ok &= save(folder, QStringLiteral("copy.png"), icon, [](QPainter &p) {
        p.setPen(glyphPen(kBlue, 3));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(6, 6, 24, 28), 3, 3);
        p.drawRoundedRect(QRectF(18, 14, 24, 28), 3, 3);
    });
    ok &= save(folder, QStringLiteral("navleft.png"), icon, [](QPainter &p) {
        p.setPen(glyphPen(kBlue, 5));
        p.drawPolyline(QPolygonF({QPointF(30, 8), QPointF(14, 24), QPointF(30, 40)}));
    });
    ok &= save(folder, QStringLiteral("navright.png"), icon, [](QPainter &p) {
        p.setPen(glyphPen(kBlue, 5));
        p.drawPolyline(QPolygonF({QPointF(18, 8), QPointF(34, 24), QPointF(18, 40)}));
    });
    ok &= save(folder, QStringLiteral("action.png"), icon, [](QPainter &p) {
        p.setPen(glyphPen(kBlue));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(24, 24), 19, 19);
        p.setPen(glyphPen(kBlue, 2));
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF({QPointF(19, 14), QPointF(34, 24), QPointF(19, 34)}));
    });
    ok &= save(folder, QStringLiteral("check.png"), icon, [](QPainter &p) {
        p.setPen(glyphPen(kGreen, 6));
        p.drawPolyline(QPolygonF({QPointF(7, 25), QPointF(19, 37), QPointF(41, 11)}));
    });
    ok &= save(folder, QStringLiteral("refresh.png"), icon, [](QPainter &p) {
        p.setPen(glyphPen(kBlue));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(7, 7, 34, 34), 30 * 16, 140 * 16);
        p.drawArc(QRectF(7, 7, 34, 34), 210 * 16, 140 * 16);
        drawArrowHead(p, QPointF(39, 17), 75, 8, kBlue);
        drawArrowHead(p, QPointF(9, 31), -105, 8, kBlue);
    });
    ok &= save(folder, QStringLiteral("exit-menu.png"), icon, [](QPainter &p) {
        p.setPen(glyphPen(kBlue));
        p.setBrush(Qt::NoBrush);
        QPainterPath door;
        door.moveTo(26, 12);
        door.lineTo(26, 5);
        door.lineTo(6, 5);
        door.lineTo(6, 43);
        door.lineTo(26, 43);
        door.lineTo(26, 36);
        p.drawPath(door);
        p.drawLine(QPointF(16, 24), QPointF(36, 24));
        drawArrowHead(p, QPointF(44, 24), 0, 9, kBlue);
    });
    ok &= save(folder, QStringLiteral("audio.png"), icon, [](QPainter &p) {
        p.setPen(glyphPen(kBlue, 2));
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF({QPointF(5, 18),
                                 QPointF(13, 18),
                                 QPointF(23, 8),
                                 QPointF(23, 40),
                                 QPointF(13, 30),
                                 QPointF(5, 30)}));
        p.setPen(glyphPen(kBlue, 3.5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(20, 15, 14, 18), -50 * 16, 100 * 16);
        p.drawArc(QRectF(19, 8, 24, 32), -50 * 16, 100 * 16);
    });
    ok &= save(folder, QStringLiteral("tools.png"), icon, [](QPainter &p) {
        // A wrench, handle from lower left to the jaw at upper right.
        p.save();
        p.translate(24, 24);
        p.rotate(45);
        QPainterPath wrench;
        wrench.addRoundedRect(QRectF(-4, -4, 8, 26), 4, 4);
        QPainterPath head;
        head.addEllipse(QPointF(0, -12), 11, 11);
        QPainterPath jaw;
        jaw.addRect(QRectF(-4.5, -26, 9, 14));
        wrench = wrench.united(head).subtracted(jaw);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPath(wrench);
        p.restore();
    });
    ok &= save(folder, QStringLiteral("shutdown.png"), icon, [](QPainter &p) {
        p.setPen(glyphPen(kRed));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(8, 9, 32, 32), 120 * 16, 300 * 16);
        p.drawLine(QPointF(24, 5), QPointF(24, 23));
    });
    ok &= save(folder, QStringLiteral("Tallydesk.png"), QSize(128, 128), [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(50, 50, 50));
        p.drawRoundedRect(QRectF(4, 4, 120, 120), 22, 22);
        // Two level bars and a wave: a codec's front panel in miniature.
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(20, 88, 88, 10), 4, 4);
        p.setBrush(kGreen);
        p.drawRoundedRect(QRectF(20, 102, 60, 10), 4, 4);
        p.setPen(QPen(kWhite, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath wave;
        wave.moveTo(18, 50);
        wave.cubicTo(30, 14, 44, 14, 54, 50);
        wave.cubicTo(64, 86, 78, 86, 88, 50);
        wave.cubicTo(94, 32, 102, 32, 110, 50);
        p.drawPath(wave);
    });

    return ok ? 0 : 1;
}
