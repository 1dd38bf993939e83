#pragma once
// The RTF control words the reader acts on.
#include <string_view>

namespace vl::rtf {

// clang-format off
#define VL_RTF_WORDS(X) \
  X(rtf) X(ansi) X(mac) X(pc) X(pca) X(ansicpg) X(deff) X(uc) X(u) X(bin) \
  X(fonttbl) X(colortbl) X(pict) X(field) X(fldinst) X(fldrslt) X(shppict) X(nonshppict) X(bkmkstart) \
  X(f) X(fcharset) X(cpg) X(red) X(green) X(blue) \
  X(plain) X(b) X(i) X(ul) X(ulnone) X(uld) X(uldash) X(uldashd) X(uldashdd) X(uldb) X(ulth) X(ulw) \
  X(ulwave) X(ulhwave) X(ululdbwave) X(ulthd) X(ulthdash) X(ulthdashd) X(ulthdashdd) X(ulldash) \
  X(strike) X(striked) X(fs) X(cf) X(cb) X(highlight) X(v) X(super) X(sub) X(nosupersub) \
  X(pard) X(ql) X(qc) X(qr) X(qj) X(qd) X(li) X(ri) X(lin) X(rin) X(fi) X(sb) X(sa) X(sl) X(slmult) \
  X(tx) X(tqr) X(tqc) X(tqdec) \
  X(par) X(line) X(tab) X(sect) X(page) X(column) X(cell) X(row) X(nestcell) X(nestrow) \
  X(emdash) X(endash) X(bullet) X(lquote) X(rquote) X(ldblquote) X(rdblquote) X(emspace) X(enspace) \
  X(qmspace) X(zwj) X(zwnj) X(ltrmark) X(rtlmark) \
  X(pngblip) X(jpegblip) X(emfblip) X(wmetafile) X(dibitmap) X(wbitmap) X(macpict) X(pmmetafile) \
  X(picw) X(pich) X(picwgoal) X(pichgoal) X(picscalex) X(picscaley) \
  /* destinations whose content is never text of the document */ \
  X(stylesheet) X(info) X(header) X(headerl) X(headerr) X(headerf) X(footer) X(footerl) X(footerr) \
  X(footerf) X(footnote) X(annotation) X(xe) X(tc) X(txe) X(pn) X(pntxta) X(pntxtb) X(objdata) \
  X(objclass) X(objname) X(listtable) X(listoverridetable) X(revtbl) X(rsidtbl) X(filetbl) X(generator) \
  X(themedata) X(colorschememapping) X(latentstyles) X(datastore) X(pgdsctbl) X(xmlnstbl) X(mmathPr) \
  X(atnid) X(atnauthor) X(atrfstart) X(atrfend) X(bkmkend) X(userprops) X(docvar) X(ftnsep) \
  X(ftnsepc) X(ftncn) X(aftnsep) X(aftnsepc) X(aftncn) X(comment) X(title) X(subject) \
  X(author) X(keywords) X(doccomm) X(company) X(buptim) X(creatim) X(printim) X(revtim) \
  X(falt) X(panose) X(fontemb) X(fontfile) X(shpinst) X(sp) X(sn) X(sv) X(blipuid) X(picprop) \
  X(fldtype) X(formfield) X(datafield) X(passwordhash)
// clang-format on

enum class Word {
  Unknown,
#define VL_RTF_ENUM(name) name,
  VL_RTF_WORDS(VL_RTF_ENUM)
#undef VL_RTF_ENUM
};

Word lookupWord(std::string_view name);

// Destinations whose group the reader skips whole.
bool isSkippedDestination(Word word);

}  // namespace vl::rtf
