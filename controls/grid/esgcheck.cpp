#include "controls/grid/esgcheck.h"

QString TExStringGridCheck::MarkError(int ACol, int ARow, const QString& Value)
{
    (void)ACol;
    (void)ARow;
    return Value;
}

QString TExStringGridCheck::Correct(int ACol, int ARow, const QString& Value)
{
    (void)ACol;
    (void)ARow;
    return Value;
}

void TExStringGridCheck::StartCheck() { }

void TExStringGridCheck::StopCheck() { }
