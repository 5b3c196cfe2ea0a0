#include "platform/ui/FileDrop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

// Accepts drags that carry local files and hands the dropped names over.
class TFileDropFilter : public QObject {
public:
    TFileDropFilter(QObject* Parent, TFilesDroppedEvent Handler) : QObject(Parent), FHandler(std::move(Handler))
    {
        setObjectName(Name());
    }
    // Found by name: the class has no meta object of its own.
    static QString Name() { return QStringLiteral("sorvex_file_drop"); }

protected:
    bool eventFilter(QObject*, QEvent* E) override
    {
        if (E->type() == QEvent::DragEnter || E->type() == QEvent::DragMove) {
            auto* d = static_cast<QDropEvent*>(E);
            if (d->mimeData()->hasUrls()) {
                d->acceptProposedAction();
                return true;
            }
        } else if (E->type() == QEvent::Drop) {
            auto* d = static_cast<QDropEvent*>(E);
            QStringList files;
            for (const QUrl& u : d->mimeData()->urls())
                if (u.isLocalFile())
                    files << u.toLocalFile();
            if (!files.isEmpty()) {
                const QPoint p = d->position().toPoint();
                FHandler(files, {p.x(), p.y()});
                d->acceptProposedAction();
                return true;
            }
        }
        return false;
    }

private:
    TFilesDroppedEvent FHandler;
};

}  // namespace

void RegisterFileDrop(TControl* Control, TFilesDroppedEvent Handler)
{
    QWidget* w = Control->Widget();
    for (QObject* old : w->findChildren<QObject*>(TFileDropFilter::Name(), Qt::FindDirectChildrenOnly)) {
        w->removeEventFilter(old);
        delete old;
    }
    w->setAcceptDrops(bool(Handler));
    if (Handler)
        w->installEventFilter(new TFileDropFilter(w, std::move(Handler)));
}
