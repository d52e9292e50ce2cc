#include "views/MusicSigns.h"

#include "core/Paths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

namespace {

QString IdOf(MusicSign sign)
{
    switch (sign) {
    case MusicSign::TrebleClef:
        return QStringLiteral("TrebleClef");
    case MusicSign::BassClef:
        return QStringLiteral("BassClef");
    case MusicSign::Sharp:
        return QStringLiteral("Sharp");
    case MusicSign::Flat:
        return QStringLiteral("Flat");
    case MusicSign::Note:
        return QStringLiteral("Note");
    }
    return QString();
}

} // namespace

MusicSigns::MusicSigns() = default;
MusicSigns::~MusicSigns() = default;

bool MusicSigns::Load(QString* error)
{
    const QString path = ProgramDataPath(QStringLiteral("Images/MusicSigns.svg"));
    // A missing file is no case for the renderer's own warning.
    auto renderer = QFileInfo::exists(path) ? std::make_unique<QSvgRenderer>(path) : std::make_unique<QSvgRenderer>();
    const bool complete = renderer->isValid()
        && renderer->elementExists(IdOf(MusicSign::TrebleClef)) && renderer->elementExists(IdOf(MusicSign::BassClef))
        && renderer->elementExists(IdOf(MusicSign::Sharp)) && renderer->elementExists(IdOf(MusicSign::Flat));
    if (!complete) {
        renderer_.reset();
        if (error)
            *error = QCoreApplication::translate("Pictures", "The picture \"%1\" could not be loaded.").arg(path);
        return false;
    }
    renderer_ = std::move(renderer);
    return true;
}

bool MusicSigns::IsLoaded() const
{
    return renderer_ != nullptr;
}

void MusicSigns::Draw(QPainter& painter, MusicSign sign, QPointF origin, double scale) const
{
    const QString id = IdOf(sign);
    if (!renderer_ || !renderer_->elementExists(id))
        return;
    painter.save();
    painter.translate(origin);
    painter.scale(scale, scale);
    renderer_->render(&painter, id, renderer_->boundsOnElement(id));
    painter.restore();
}
