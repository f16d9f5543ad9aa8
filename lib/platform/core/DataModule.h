#pragma once
// TDataModule: a plain container of non-visual components, the root of a form file that
// holds no window (jobs and their links, kept together and streamed together).

#include "platform/core/Component.h"

#include <QObject>

namespace Vellaro {

class VELLARO_EXPORT TDataModule : public QObject, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
public:
    explicit TDataModule(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    ~TDataModule() override { DestroyComponent(); }
};

} // namespace Vellaro
