#pragma once
// A shown form that owns the controls a test puts on it, a beep counter and
// a run-time locale set for one test case.

#include <QString>

#include "platform/controls/Forms.h"
#include "platform/controls/Services.h"
#include "platform/runtime/SysUtils.h"

struct TEditForm {
    TForm* Form;
    TEditForm()
    {
        Form = new TForm(nullptr);
        Form->SetBounds(20, 20, 320, 200);
        Form->Show();
    }
    ~TEditForm() { delete Form; }
    TEditForm(const TEditForm&) = delete;
    TEditForm& operator=(const TEditForm&) = delete;
    template <class T> T* Add(int left = 10, int top = 10, int width = 121)
    {
        auto* c = new T(Form);
        c->SetParent(Form);
        c->SetBounds(left, top, width, c->Height());
        return c;
    }
};

// Counts the beeps while it lives.
struct TBeepCounter : IBeepService {
    int Count = 0;
    IBeepService* Old;
    TBeepCounter() { Old = services::SetBeepService(this); }
    ~TBeepCounter() override { services::SetBeepService(Old); }
    void Beep() override { ++Count; }
};

// The separators and date format of one case; the defaults come back after.
struct TLocale {
    QChar Decimal = u'.';
    QChar Thousand = u',';
    QChar DateSep = u'/';
    QChar TimeSep = u':';
    QString ShortDate = QStringLiteral("M/d/yyyy");
};

struct TLocaleScope {
    explicit TLocaleScope(const TLocale& l)
    {
        FormatSettings.DecimalSeparator = l.Decimal;
        FormatSettings.ThousandSeparator = l.Thousand;
        FormatSettings.DateSeparator = l.DateSep;
        FormatSettings.TimeSeparator = l.TimeSep;
        FormatSettings.ShortDateFormat = l.ShortDate;
    }
    ~TLocaleScope() { ResetFormatSettings(); }
    TLocaleScope(const TLocaleScope&) = delete;
    TLocaleScope& operator=(const TLocaleScope&) = delete;
};
