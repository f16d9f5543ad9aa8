#pragma once
// What each fuzz target does with one input, shared with tst_FuzzCorpus, which feeds every file
// of the seed corpora through the same code in the ordinary (and sanitized) suite, so an input
// that once crashed or hung stays fixed. Each returns "" when the reader kept its promise, else
// what it broke.
#include "job/VLJob.h"
#include "platform/controls/RtfReader.h"
#include "platform/controls/RtfWriter.h"
#include "platform/core/DataModule.h"
#include "platform/core/Reader.h"
#include "platform/core/Writer.h"

#include <QByteArray>
#include <QString>
#include <QTextDocument>
#include <memory>

namespace Vellaro::Fuzz {

inline void OfferHandlers(TComponent* root)
{
    root->RegisterMethod(QStringLiteral("AnyUpdate"), QVariant::fromValue(TNotifyEvent([](TComponent*) {})));
    root->RegisterMethod(QStringLiteral("JobDraw"),
        QVariant::fromValue(TDrawEvent([](TComponent*, TCanvas*, int, TRect, TDrawArea, TDrawTarget) {})));
}

/// Reads the input as a form file: it either reads (and then writes back) or fails with
/// EReadError, and a failed read leaves the root empty.
inline QString ReadFormInput(const QByteArray& input)
{
    const QString text = QString::fromUtf8(input);
    {
        TDataModule root;
        OfferHandlers(&root);
        try {
            ReadComponentText(text, &root);
            ComponentToText(&root);
        } catch (const EReadError&) {
            if (root.ComponentCount() != 0)
                return QStringLiteral("a failed read left %1 components behind").arg(root.ComponentCount());
        } catch (const Exception&) {
        }
    }
    try {
        std::unique_ptr<TComponent> created(ReadComponentText(text));
        ComponentToText(created.get());
    } catch (const Exception&) {
    }
    return {};
}

/// Reads the input as RTF: it reads or is refused with ERtfError; what was read is written,
/// and the reader reads that back.
inline QString ReadRtfInput(const QByteArray& input)
{
    QTextDocument document;
    try {
        ReadRtf(input, &document);
    } catch (const ERtfError&) {
        return {};
    }
    QTextDocument again;
    try {
        ReadRtf(WriteRtf(document), &again);
    } catch (const ERtfError& e) {
        return QStringLiteral("what the writer wrote does not read back: %1").arg(e.Message());
    }
    return {};
}

} // namespace Vellaro::Fuzz
