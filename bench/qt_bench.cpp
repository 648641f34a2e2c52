// Against Qt: the board's redraw next to QPainter drawing the same pieces through clip regions,
// and the window's paint of the board buffer next to Qt painting an image of its own.
#include "CutBoard.h"
#include "Interleave.h"
#include "app/BitmapImage.h"
#include <QBitmap>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <cstdlib>
#include <vector>

namespace {

// The game's pictures as Qt's own 32-bit images, and every piece's outline as a region made
// from its mask, prepared once (Qt's best case) or made from the mask at every draw, as a
// board drawn through Qt alone would, the masks changing with every turn.
struct QtBoard {
    explicit QtBoard(const game::Game& g)
        : board(g.BoardWidth, g.BoardHeight, QImage::Format_RGB32)
        , sheet(toImage(*g.PieceSheet))
        , ghost(toImage(*g.GhostPicture))
        , background(QColor(gfx::redOf(g.BackgroundColor), gfx::greenOf(g.BackgroundColor),
                            gfx::blueOf(g.BackgroundColor)))
        , ghostAt((g.BoardWidth - g.GhostPicture->width()) / 2, (g.BoardHeight - g.GhostPicture->height()) / 2)
    {
        auto walk = g.Pieces->fromBottom();
        while (const game::TPuzzle* p = walk.Next()) {
            const int c = p->Bounds.width();
            pieces.push_back({regionOf(p->Mask).translated(p->Bounds.left, p->Bounds.top),
                              QPoint(p->Bounds.left, p->Bounds.top), QRect(p->Column * c, p->Row * c, c, c),
                              &p->Mask});
        }
    }

    static QImage toImage(const gfx::Bitmap& bgr24)
    {
        QImage image(bgr24.width(), bgr24.height(), QImage::Format_RGB32);
        for (int y = 0; y < bgr24.height(); ++y)
            for (int x = 0; x < bgr24.width(); ++x) {
                gfx::Color c = bgr24.value(x, y);
                image.setPixel(x, y, qRgb(gfx::redOf(c), gfx::greenOf(c), gfx::blueOf(c)));
            }
        return image;
    }

    // The region of the mask's 0 bits: a mono image whose index 1 is a piece pixel.
    static QRegion regionOf(const gfx::Bitmap& mask)
    {
        QImage mono(mask.width(), mask.height(), QImage::Format_Mono);
        mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x)
                mono.setPixel(x, y, mask.value(x, y) == 0 ? 1 : 0);
        return QRegion(QBitmap::fromImage(mono));
    }

    void redraw(bool regionsMadeOnce)
    {
        QPainter painter(&board);
        painter.fillRect(board.rect(), background);
        painter.drawImage(ghostAt, ghost);
        for (const Piece& p : pieces) {
            painter.setClipRegion(regionsMadeOnce ? p.region : regionOf(*p.mask).translated(p.at));
            painter.drawImage(p.at, sheet, p.tile);
        }
    }

    struct Piece {
        QRegion region;
        QPoint at;
        QRect tile;
        const gfx::Bitmap* mask;
    };
    QImage board, sheet, ghost;
    QColor background;
    QPoint ghostAt;
    std::vector<Piece> pieces;
};

void registerRedraw()
{
    for (bool once : {false, true})
        bench::registerTarget({once ? "redraw-vs-qpainter-regions-made-once" : "redraw-vs-qpainter", 0, false}, 21,
                              [once](benchmark::State& state) {
                                  bench::CutBoard board({1990, 1030, 4, 1920, 1080, 2});
                                  QtBoard qt(board.game);
                                  game::Game& g = board.game;
                                  state.counters["pieces"] = board.pieceCount();
                                  return bench::compare(state, {[&g](int n) {
                                                            for (int i = 0; i < n; ++i)
                                                                g.RedrawBoard();
                                                        }},
                                                        {{[&qt, once](int n) {
                                                            for (int i = 0; i < n; ++i)
                                                                qt.redraw(once);
                                                        }}},
                                                        1);
                              });
}

// What the board's paint does with a full-HD back buffer, against the same paint from an image
// Qt made itself.
void registerFormPaint()
{
    bench::registerTarget({"form-paint-1920x1080", 0, false}, 101, [](benchmark::State& state) {
        gfx::Bitmap buffer(1920, 1080, gfx::PixelFormat::Bgrx32);
        const QImage wrapped = app::wrapBitmap(buffer);
        QImage plain(1920, 1080, QImage::Format_RGB32);
        plain.fill(Qt::black);
        QImage window(1920, 1080, QImage::Format_RGB32);
        auto paint = [&window](const QImage& image) {
            return bench::Contestant{[&window, &image](int n) {
                for (int i = 0; i < n; ++i) {
                    QPainter painter(&window);
                    painter.drawImage(0, 0, image);
                }
            }};
        };
        return bench::compare(state, paint(wrapped), {paint(plain)});
    });
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    registerRedraw();
    registerFormPaint();
    return bench::runBenchmarks(argc, argv);
}
