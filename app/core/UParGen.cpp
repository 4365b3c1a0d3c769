#include "app/core/UParGen.h"

TFParGen* FParGen = nullptr;

TFParGen::TFParGen(TComponent* AOwner)
    : TForm(AOwner)
{
}

TFParGen::~TFParGen()
{
    if (FParGen == this)
        FParGen = nullptr;
}

void TFParGen::Set_Lang() { }
