// Sets the run's language for one test and puts the previous one back afterwards.
#pragma once

#include "vocabulary/catalogue.h"

namespace sevrane::testing {

class LanguageScope {
public:
    explicit LanguageScope(LanguageIndex language) : saved_(CurrentLanguage()) {
        SetCurrentLanguage(language);
    }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;
    ~LanguageScope() { SetCurrentLanguage(saved_); }

private:
    LanguageIndex saved_;
};

} // namespace sevrane::testing
