// Text form of a DComplex: "(" re "," im ")". Both operators are thin
// compositions of the stream's own formatted insertion and extraction, so
// number formatting, white-space skipping, locale, field width and error
// state are the stream's; they add only the three literal characters, the
// order of the pieces, the accepted forms and the state of a malformed text.
#include "zu_complex.h"

#include <istream>
#include <ostream>

// Five separate formatted insertions. Each consumes the field width, so a
// width set before the call pads the opening parenthesis alone (before it,
// or after it with left adjustment); once the stream has failed the later
// insertions write nothing.
std::ostream& operator<<(std::ostream& s, const DComplex& z) {
    s << "(";
    s << z.re;
    s << ",";
    s << z.im;
    s << ")";
    return s;
}

// Accepts "(" re "," im ")", "(" re ")" and a bare re, each token after
// optional white space when the stream skips it.
//   "(" read: re, then a char; on "," im, then a char; anything but ")" as the
//   last char read (including a char never read because an extraction
//   failed) replaces the state by badbit alone: an eofbit or failbit set
//   on the way is dropped, and a badbit exception mask throws from clear.
//   otherwise: the char goes back and a double is read; its own failure
//   (failbit) stands. At end of input the char extraction fails first and
//   the stream stays failed.
// The target is written once, whole, and only if the stream is still good
// (eofbit alone is good); characters consumed before a failure stay consumed.
std::istream& operator>>(std::istream& s, DComplex& z) {
    double re = 0.0;
    double im = 0.0;
    char ch = '\0';

    s >> ch;
    if (ch == '(') {
        s >> re >> ch;
        if (ch == ',') s >> im >> ch;
        if (ch != ')') s.clear(std::ios_base::badbit);
    } else {
        s.putback(ch);
        s >> re;
    }
    if (s) z = DComplex(re, im);
    return s;
}
