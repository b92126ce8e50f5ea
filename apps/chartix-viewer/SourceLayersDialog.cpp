#include "SourceLayersDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace Viewer {

bool PickSourceLayers(QWidget* Parent, const QString& File, const QStringList& Layers,
                      QStringList& Chosen) {
    QDialog Dialog(Parent);
    Dialog.setWindowTitle("Open Layers");
    auto* Box = new QVBoxLayout(&Dialog);
    Box->addWidget(new QLabel(
        QString("%1 holds %2 layers. Open:").arg(QFileInfo(File).fileName()).arg(Layers.size())));
    auto* List = new QListWidget(&Dialog);
    for (const QString& Name : Layers) {
        auto* Item = new QListWidgetItem(Name, List);
        Item->setFlags(Item->flags() | Qt::ItemIsUserCheckable);
        Item->setCheckState(Qt::Checked);
    }
    Box->addWidget(List);
    auto* Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &Dialog);
    QObject::connect(Buttons, &QDialogButtonBox::accepted, &Dialog, &QDialog::accept);
    QObject::connect(Buttons, &QDialogButtonBox::rejected, &Dialog, &QDialog::reject);
    // Nothing ticked opens nothing: say so by greying OK out.
    QObject::connect(List, &QListWidget::itemChanged, &Dialog, [List, Buttons] {
        bool Any = false;
        for (int I = 0; I < List->count() && !Any; ++I)
            Any = List->item(I)->checkState() == Qt::Checked;
        Buttons->button(QDialogButtonBox::Ok)->setEnabled(Any);
    });
    Box->addWidget(Buttons);
    if (Dialog.exec() != QDialog::Accepted) return false;
    Chosen.clear();
    for (int I = 0; I < List->count(); ++I)
        if (List->item(I)->checkState() == Qt::Checked) Chosen << List->item(I)->text();
    return true;
}

} // namespace Viewer
