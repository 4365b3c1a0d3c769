#pragma once

#include "platform/controls/Forms.h"

// Protocol parameter form ("Set Communication").
class TFParGen : public TForm {
public:
    explicit TFParGen(TComponent* AOwner);
    ~TFParGen() override;
    QString ClassName() const override { return QStringLiteral("TFParGen"); }

    void Set_Lang();
};

extern TFParGen* FParGen;
