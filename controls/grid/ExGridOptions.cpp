#include "controls/grid/ExGridOptions.h"

#include "controls/grid/ExGrid.h"
#include "platform/runtime/Exceptions.h"

// ---------------------------------------------------------------------------
// TCellNode

TCellNode::TCellNode(TExStringGrid* AGrid)
    : FGrid(AGrid)
    , FExpandGlyph(std::make_unique<TBitmap>())
    , FContractGlyph(std::make_unique<TBitmap>())
{
}

TCellNode::~TCellNode() = default;

void TCellNode::RepaintGrid()
{
    if (FGrid)
        FGrid->Invalidate();
}

void TCellNode::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TCellNode*>(Source);
    if (!src)
        return;
    Color = src->Color;
    NodeColor = src->NodeColor;
    ExpandOne = src->ExpandOne;
    FNodeType = src->FNodeType;
    FShowTree = src->FShowTree;
    FShowTreeFull = src->FShowTreeFull;
    FTreeColor = src->FTreeColor;
    FNodeIndent = src->FNodeIndent;
    FExpandGlyph->Assign(src->FExpandGlyph.get());
    FContractGlyph->Assign(src->FContractGlyph.get());
}

// ---------------------------------------------------------------------------
// TColumnSize

TColumnSize::TColumnSize(TExStringGrid* AGrid)
    : FGrid(AGrid)
{
}

void TColumnSize::SetStretch(bool Value)
{
    FStretch = Value;
    if (FGrid && FGrid->Parent())
        FGrid->ApplyColumnStretch(StretchColumn);
}

void TColumnSize::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TColumnSize*>(Source);
    if (!src)
        return;
    static_cast<TColumnSizeFields&>(*this) = *src;
    FStretch = src->FStretch;
}

// ---------------------------------------------------------------------------
// THTMLSettings

THTMLSettings::THTMLSettings()
    : FColWidths(std::make_unique<TIntList>(0, 0))
{
}

THTMLSettings::~THTMLSettings() = default;

void THTMLSettings::Assign(const TPersistent* Source)
{
    if (const auto* src = dynamic_cast<const THTMLSettings*>(Source))
        static_cast<THTMLSettingsFields&>(*this) = *src;
}

// ---------------------------------------------------------------------------
// TPrintSettings

TPrintSettings::TPrintSettings(TExStringGrid* AGrid)
    : FGrid(AGrid)
    , FFont(std::make_unique<TFont>())
    , FFixedFont(std::make_unique<TFont>())
    , FHeaderFont(std::make_unique<TFont>())
    , FFooterFont(std::make_unique<TFont>())
    , FTitleLines(std::make_unique<TStringList>())
{
}

TPrintSettings::~TPrintSettings() = default;

void TPrintSettings::Assign(const TPersistent* Source)
{
    const auto* src = dynamic_cast<const TPrintSettings*>(Source);
    if (!src)
        throw EInvalidCast(QStringLiteral("Invalid class typecast"));
    if (src == this)
        return;
    static_cast<TPrintSettingsFields&>(*this) = *src;
    FFont->Assign(src->FFont.get());
    FFixedFont->Assign(src->FFixedFont.get());
    FHeaderFont->Assign(src->FHeaderFont.get());
    FFooterFont->Assign(src->FFooterFont.get());
    FTitleLines->Assign(src->FTitleLines.get());
}
