// libFuzzer target for the conversion of text: arbitrary bytes through
// normalisation, scanning, exceptions, stress marking and rules that use
// every context symbol.
#include <cstddef>
#include <cstdint>
#include <string>

#include "diphone/rules.h"

namespace {

const char* const k_rules =
    "#(S)#=z|\n%(R)=rr|\n|(R)=rr|\n](X)=ks|\n_(H)=|\n(A)\\%=a^ |\n(AN)[=a~ |\n(C)+=s|\n"
    "(C)*=ki |\n(E)&=e |\n(O)#=o^ |\n(QU)+=k|\n(A')=A |\n(E)=e^ |\n(A)=a |\n(I)=i |\n(O)=o |\n"
    "(U)=u |\n(S)=s|\n(R)=r|\n(X)=x|\n(C)=k|\n(H)=|\n(-)=|\n(')=|\n";
const char* const k_exceptions =
    "casa=kaza|\nmuito=mu~ito|\nvazia=|\nlonga=" "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa|\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool loaded = rules_load_text(k_rules, "fuzz.rgr") && rules_load_exceptions_text(k_exceptions, "fuzz.exc");
    if (!loaded) __builtin_trap();
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string a = rules_text_to_phonemes(text);
    // Nothing is kept between calls.
    if (rules_text_to_phonemes(text) != a) __builtin_trap();
    return 0;
}
