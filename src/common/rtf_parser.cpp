#include "common/rtf_parser.h"

#include "common/rtf_field.h"

#include <algorithm>

namespace vl::rtf {

namespace {

// Lengths beyond 22 inches are clamped: they only come from damaged files.
constexpr int kMaxTwips = 31680;

int clampTwips(int value) { return std::clamp(value, -kMaxTwips, kMaxTwips); }

bool isBlank(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == ' ' || c == '\t'; });
}

QTextCharFormat::UnderlineStyle underlineOf(Word word) {
  switch (word) {
    case Word::uld:
    case Word::ulthd:
      return QTextCharFormat::DotLine;
    case Word::uldash:
    case Word::ulthdash:
    case Word::ulldash:
      return QTextCharFormat::DashUnderline;
    case Word::uldashd:
    case Word::ulthdashd:
      return QTextCharFormat::DashDotLine;
    case Word::uldashdd:
    case Word::ulthdashdd:
      return QTextCharFormat::DashDotDotLine;
    case Word::ulwave:
    case Word::ulhwave:
    case Word::ululdbwave:
      return QTextCharFormat::WaveUnderline;
    default:
      return QTextCharFormat::SingleUnderline;
  }
}

}  // namespace

Parser::Parser(std::string_view data, QTextDocument *document, const RtfReadOptions &options)
    : tokenizer_(data), document_(document), options_(options), builder_(document, tables_) {
  if (!options_.metafileRasterizer) options_.metafileRasterizer = rtfMetafileRasterizer();
  options_.maxGroupDepth = std::max(options_.maxGroupDepth, 2);
}

RtfReadResult Parser::run() {
  ParaState endPara;
  while (!done_) {
    const Token token = tokenizer_.next();
    if (token.type == TokenType::End) break;
    if (stack_.empty()) {
      if (token.type == TokenType::GroupOpen) stack_.emplace_back();
      continue;
    }
    if (top().destination == Destination::Skip) {
      if (token.type == TokenType::GroupOpen) {
        ++skipDepth_;
      } else if (token.type == TokenType::GroupClose) {
        if (skipDepth_ > 0)
          --skipDepth_;
        else
          closeGroup();
      } else if (token.type == TokenType::ControlWord && token.hasParam && token.text == "bin") {
        tokenizer_.readBinary(token.param);
      }
      continue;
    }
    if (unicodeSkip_ > 0) {
      if (token.type == TokenType::Text) {
        const size_t n = std::min<size_t>(size_t(unicodeSkip_), token.text.size());
        unicodeSkip_ -= int(n);
        if (n < token.text.size()) text(token.text.substr(n));
        continue;
      }
      if (token.type != TokenType::GroupOpen && token.type != TokenType::GroupClose) {
        --unicodeSkip_;
        if (token.type == TokenType::ControlWord && token.hasParam && token.text == "bin")
          tokenizer_.readBinary(token.param);
        continue;
      }
      unicodeSkip_ = 0;
    }
    switch (token.type) {
      case TokenType::GroupOpen:
        flushBytes();
        openGroup();
        break;
      case TokenType::GroupClose:
        flushBytes();
        if (stack_.size() == 1) endPara = top().para;
        closeGroup();
        break;
      case TokenType::ControlWord:
        controlWord(token);
        break;
      case TokenType::ControlSymbol:
        controlSymbol(static_cast<char>(token.param));
        break;
      case TokenType::HexByte:
        if (top().destination != Destination::Picture) pendingBytes_.append(static_cast<char>(token.param));
        break;
      case TokenType::Text:
        text(token.text);
        break;
      case TokenType::End:
        break;
    }
  }
  flushBytes();
  builder_.finish(stack_.empty() ? endPara : top().para);
  RtfReadResult result;
  result.rtf = true;
  result.complete = done_;
  result.pictures = builder_.pictures();
  result.blankPictures = builder_.placeholders();
  return result;
}

void Parser::openGroup() {
  GroupState group = top();
  group.ownsField = false;
  group.ownsPicture = false;
  group.starred = false;
  stack_.push_back(std::move(group));
  if (static_cast<int>(stack_.size()) > options_.maxGroupDepth) skipCurrentGroup();
}

void Parser::skipCurrentGroup() {
  pendingBytes_.clear();
  top().destination = Destination::Skip;
  skipDepth_ = 0;
}

void Parser::closeGroup() {
  GroupState closing = std::move(stack_.back());
  stack_.pop_back();
  const Destination parent = stack_.empty() ? Destination::Document : top().destination;
  switch (closing.destination) {
    case Destination::FontTable:
      if (fontNumber_ >= 0) commitFont();
      if (parent != Destination::FontTable) builder_.tablesChanged();
      break;
    case Destination::ColorTable:
      if (parent != Destination::ColorTable) {
        if (red_ >= 0 || green_ >= 0 || blue_ >= 0) commitColour();
        builder_.tablesChanged();
      }
      break;
    case Destination::BookmarkName:
      if (parent == Destination::Document) {
        builder_.addAnchorName(bookmark_.trimmed());
        bookmark_.clear();
      }
      break;
    default:
      break;
  }
  if (closing.ownsPicture) finishPicture(closing);
  if (closing.ownsField) finishField(closing);
  if (stack_.empty()) done_ = true;
}

void Parser::controlWord(const Token &token) {
  const Word word = lookupWord(token.text);
  GroupState &g = top();
  if (g.starred) {
    g.starred = false;
    if (word != Word::fldinst && word != Word::bkmkstart && word != Word::shppict) {
      skipCurrentGroup();
      return;
    }
  }
  if (word == Word::bin) {
    flushBytes();
    const std::string_view data = tokenizer_.readBinary(token.hasParam ? token.param : 0);
    if (g.destination == Destination::Picture && picture_) picture_->appendBinary(data);
    return;
  }
  if (g.destination == Destination::Picture) {
    pictureWord(word, token);
    return;
  }
  flushBytes();
  switch (word) {
    case Word::ansi: documentCodePage_ = 1252; break;
    case Word::mac: documentCodePage_ = 10000; break;
    case Word::pc: documentCodePage_ = 437; break;
    case Word::pca: documentCodePage_ = 850; break;
    case Word::ansicpg:
      if (token.param > 0) documentCodePage_ = token.param;
      break;
    case Word::deff:
      tables_.defaultFont = token.param;
      builder_.tablesChanged();
      break;
    case Word::uc: g.unicodeSkip = token.hasParam ? std::clamp(token.param, 0, 255) : 1; break;
    case Word::u: {
      int value = token.param;
      if (value < 0) value += 65536;
      if (value > 0xFFFF || value < 0) value = 0xFFFD;
      if (value >= 0x20 || value == '\t') emitChar(char16_t(value));  // control characters are not text
      unicodeSkip_ = g.unicodeSkip;
      break;
    }
    case Word::fonttbl:
    case Word::colortbl:
    case Word::pict:
    case Word::field:
    case Word::fldinst:
    case Word::fldrslt:
    case Word::shppict:
    case Word::nonshppict:
    case Word::bkmkstart:
      destinationWord(word);
      break;
    case Word::f:
      if (g.destination == Destination::FontTable) {
        if (fontNumber_ >= 0) commitFont();
        fontNumber_ = std::max(0, token.param);
      } else {
        g.chars.font = std::max(0, token.param);
      }
      break;
    case Word::fcharset:
      if (g.destination == Destination::FontTable) fontEntry_.codePage = codePageOfCharset(token.param);
      break;
    case Word::cpg:
      if (g.destination == Destination::FontTable && token.param > 0) fontEntry_.codePage = token.param;
      break;
    case Word::red: red_ = std::clamp(token.param, 0, 255); break;
    case Word::green: green_ = std::clamp(token.param, 0, 255); break;
    case Word::blue: blue_ = std::clamp(token.param, 0, 255); break;
    case Word::par:
    case Word::sect:
    case Word::page:
    case Word::column:
    case Word::row:
    case Word::nestrow:
      emitParagraph();
      break;
    case Word::line: emitChar(0x2028); break;
    case Word::tab:
    case Word::cell:
    case Word::nestcell:
      emitChar(u'\t');
      break;
    case Word::emdash: emitChar(0x2014); break;
    case Word::endash: emitChar(0x2013); break;
    case Word::bullet: emitChar(0x2022); break;
    case Word::lquote: emitChar(0x2018); break;
    case Word::rquote: emitChar(0x2019); break;
    case Word::ldblquote: emitChar(0x201C); break;
    case Word::rdblquote: emitChar(0x201D); break;
    case Word::emspace: emitChar(0x2003); break;
    case Word::enspace: emitChar(0x2002); break;
    case Word::qmspace: emitChar(0x2005); break;
    case Word::zwj: emitChar(0x200D); break;
    case Word::zwnj: emitChar(0x200C); break;
    case Word::ltrmark: emitChar(0x200E); break;
    case Word::rtlmark: emitChar(0x200F); break;
    default:
      if (isSkippedDestination(word)) {
        skipCurrentGroup();
      } else {
        charWord(word, token);
        paraWord(word, token);
      }
      break;
  }
}

void Parser::destinationWord(Word word) {
  GroupState &g = top();
  const bool inDocument = g.destination == Destination::Document;
  switch (word) {
    case Word::fonttbl:
      g.destination = Destination::FontTable;
      break;
    case Word::colortbl:
      g.destination = Destination::ColorTable;
      red_ = green_ = blue_ = -1;
      break;
    case Word::pict:
      if ((!inDocument && g.destination != Destination::NonShapePicture) || picture_) {
        skipCurrentGroup();
        break;
      }
      pictureIsAlternative_ = g.destination == Destination::NonShapePicture;
      picture_.emplace();
      g.ownsPicture = true;
      g.destination = Destination::Picture;
      break;
    case Word::field:
      if (!inDocument) break;
      fields_.push_back({});
      g.field = static_cast<int>(fields_.size()) - 1;
      g.ownsField = true;
      break;
    case Word::fldinst:
      if (inDocument && g.field >= 0)
        g.destination = Destination::FieldInstruction;
      else
        skipCurrentGroup();
      break;
    case Word::fldrslt:
      if (inDocument && g.field >= 0) {
        Field &field = fields_[size_t(g.field)];
        if (field.resultStart < 0) {
          if (const auto link = parseHyperlinkInstruction(field.instruction)) {
            tables_.links.push_back({link->href, link->toolTip});
            field.link = static_cast<int>(tables_.links.size()) - 1;
          }
          field.resultStart = builder_.position();
        }
        if (field.link >= 0) g.chars.link = field.link;
      }
      break;
    case Word::shppict:
      if (inDocument)
        g.shapePicture = true;
      else
        skipCurrentGroup();
      break;
    case Word::nonshppict:
      if (!inDocument)
        skipCurrentGroup();
      else if (shapePictureEnd_ >= 0 && shapePictureEnd_ == builder_.position())
        g.destination = Destination::NonShapePicture;
      break;
    case Word::bkmkstart:
      if (inDocument) {
        g.destination = Destination::BookmarkName;
        bookmark_.clear();
      } else {
        skipCurrentGroup();
      }
      break;
    default:
      break;
  }
}

void Parser::charWord(Word word, const Token &token) {
  CharState &c = top().chars;
  const bool on = !token.hasParam || token.param != 0;
  switch (word) {
    case Word::plain: {
      CharState fresh;
      fresh.link = c.link;
      c = fresh;
      break;
    }
    case Word::b: c.bold = on; break;
    case Word::i: c.italic = on; break;
    case Word::strike:
    case Word::striked:
      c.strike = on;
      break;
    case Word::ulnone: c.underline = QTextCharFormat::NoUnderline; break;
    case Word::ul:
    case Word::uld:
    case Word::uldash:
    case Word::uldashd:
    case Word::uldashdd:
    case Word::uldb:
    case Word::ulth:
    case Word::ulw:
    case Word::ulwave:
    case Word::ulhwave:
    case Word::ululdbwave:
    case Word::ulthd:
    case Word::ulthdash:
    case Word::ulthdashd:
    case Word::ulthdashdd:
    case Word::ulldash:
      c.underline = on ? underlineOf(word) : QTextCharFormat::NoUnderline;
      break;
    case Word::fs: c.halfPoints = token.hasParam && token.param > 0 ? std::min(token.param, 3276) : 24; break;
    case Word::cf: c.foreground = std::max(0, token.param); break;
    case Word::cb:
    case Word::highlight:
      c.background = std::max(0, token.param);
      break;
    case Word::v: c.hidden = on; break;
    case Word::super: c.vertical = on ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal; break;
    case Word::sub: c.vertical = on ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal; break;
    case Word::nosupersub: c.vertical = QTextCharFormat::AlignNormal; break;
    default: break;
  }
}

void Parser::paraWord(Word word, const Token &token) {
  ParaState &p = top().para;
  switch (word) {
    case Word::pard: p = ParaState{}; break;
    case Word::ql: p.alignment = Qt::AlignLeft; break;
    case Word::qc: p.alignment = Qt::AlignHCenter; break;
    case Word::qr: p.alignment = Qt::AlignRight; break;
    case Word::qj:
    case Word::qd:
      p.alignment = Qt::AlignJustify;
      break;
    case Word::li:
    case Word::lin:
      p.leftTwips = clampTwips(token.param);
      break;
    case Word::ri:
    case Word::rin:
      p.rightTwips = clampTwips(token.param);
      break;
    case Word::fi: p.firstTwips = clampTwips(token.param); break;
    case Word::sb: p.beforeTwips = std::clamp(token.param, 0, kMaxTwips); break;
    case Word::sa: p.afterTwips = std::clamp(token.param, 0, kMaxTwips); break;
    case Word::sl: p.lineSpacing = clampTwips(token.param); break;
    case Word::slmult: p.lineMultiple = !token.hasParam || token.param != 0; break;
    case Word::tqc: p.pendingTabKind = 1; break;
    case Word::tqr: p.pendingTabKind = 2; break;
    case Word::tqdec: p.pendingTabKind = 3; break;
    case Word::tx:
      if (p.tabs.size() < 64) p.tabs.push_back({std::clamp(token.param, 0, 2 * kMaxTwips), p.pendingTabKind});
      p.pendingTabKind = 0;
      break;
    default: break;
  }
}

void Parser::pictureWord(Word word, const Token &token) {
  PictureData &p = *picture_;
  switch (word) {
    case Word::pngblip: p.format = PictureFormat::Png; break;
    case Word::jpegblip: p.format = PictureFormat::Jpeg; break;
    case Word::emfblip: p.format = PictureFormat::Emf; break;
    case Word::wmetafile:
      p.format = PictureFormat::Wmf;
      p.mappingMode = token.hasParam ? token.param : 8;
      break;
    case Word::dibitmap: p.format = PictureFormat::Dib; break;
    case Word::wbitmap:
    case Word::macpict:
    case Word::pmmetafile:
      p.format = PictureFormat::Unknown;
      break;
    case Word::picw: p.width = std::clamp(token.param, 0, 1 << 24); break;
    case Word::pich: p.height = std::clamp(token.param, 0, 1 << 24); break;
    case Word::picwgoal: p.goalWidth = std::clamp(token.param, 0, 10 * kMaxTwips); break;
    case Word::pichgoal: p.goalHeight = std::clamp(token.param, 0, 10 * kMaxTwips); break;
    case Word::picscalex: p.scaleX = std::clamp(token.param, 1, 10000); break;
    case Word::picscaley: p.scaleY = std::clamp(token.param, 1, 10000); break;
    default:
      if (isSkippedDestination(word)) skipCurrentGroup();
      break;
  }
}

void Parser::controlSymbol(char c) {
  switch (c) {
    case '\\':
    case '{':
    case '}':
      text(std::string_view(&c, 1));
      break;
    case '~': emitChar(0x00A0); break;
    case '-': emitChar(0x00AD); break;
    case '_': emitChar(0x2011); break;
    case '*':
      flushBytes();
      top().starred = true;
      break;
    default:
      break;
  }
}

void Parser::text(std::string_view bytes) {
  GroupState &g = top();
  if (g.starred && !isBlank(bytes)) g.starred = false;
  switch (g.destination) {
    case Destination::Picture:
      if (picture_) picture_->appendHex(bytes);
      return;
    case Destination::Skip:
    case Destination::NonShapePicture:
      return;
    default:
      pendingBytes_.append(bytes.data(), qsizetype(bytes.size()));
  }
}

int Parser::codePage() {
  const GroupState &g = top();
  if (g.destination == Destination::FontTable)
    return fontEntry_.codePage > 0 ? fontEntry_.codePage : documentCodePage_;
  const int number = g.chars.font >= 0 ? g.chars.font : tables_.defaultFont;
  const auto font = tables_.fonts.find(number);
  return font != tables_.fonts.end() && font->second.codePage > 0 ? font->second.codePage : documentCodePage_;
}

void Parser::flushBytes() {
  if (pendingBytes_.isEmpty()) return;
  decoded_.clear();
  decoder_.decode(pendingBytes_, codePage(), decoded_);
  pendingBytes_.clear();
  route(decoded_);
}

void Parser::emitChar(char16_t c) {
  flushBytes();
  route(QStringView(&c, 1));
}

void Parser::route(QStringView text) {
  if (text.isEmpty()) return;
  GroupState &g = top();
  switch (g.destination) {
    case Destination::Document:
      if (g.chars.hidden)
        builder_.appendHidden(text);
      else
        builder_.appendVisible(text, g.chars);
      break;
    case Destination::FontTable:
      for (QChar c : text) {
        if (c == u';')
          commitFont();
        else
          fontEntry_.name.append(c);
      }
      break;
    case Destination::ColorTable:
      for (QChar c : text)
        if (c == u';') commitColour();
      break;
    case Destination::FieldInstruction:
      if (g.field >= 0) fields_[size_t(g.field)].instruction.append(text);
      break;
    case Destination::BookmarkName:
      bookmark_.append(text);
      break;
    default:
      break;
  }
}

void Parser::emitParagraph() {
  flushBytes();
  if (top().destination == Destination::Document) builder_.endParagraph(top().para);
}

void Parser::commitFont() {
  if (fontNumber_ >= 0) {
    fontEntry_.name = fontEntry_.name.trimmed();
    tables_.fonts[fontNumber_] = fontEntry_;
  }
  fontNumber_ = -1;
  fontEntry_ = {};
}

void Parser::commitColour() {
  if (red_ < 0 && green_ < 0 && blue_ < 0)
    tables_.colours.emplace_back();
  else
    tables_.colours.emplace_back(std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0));
  red_ = green_ = blue_ = -1;
}

void Parser::finishPicture(const GroupState &group) {
  if (!picture_) return;
  const DecodedPicture decoded = decodePicture(*picture_, options_.metafileRasterizer, pixelBudget_);
  picture_.reset();
  if (pictureIsAlternative_) {
    builder_.addAlternativePicture(decoded);
  } else {
    builder_.insertPicture(decoded, group.chars);
    if (group.shapePicture) shapePictureEnd_ = builder_.position();
  }
  pictureIsAlternative_ = false;
}

void Parser::finishField(const GroupState &group) {
  if (group.field < 0 || group.destination != Destination::Document) return;
  Field &field = fields_[size_t(group.field)];
  if (field.resultStart < 0) {
    if (const auto link = parseHyperlinkInstruction(field.instruction)) {
      tables_.links.push_back({link->href, link->toolTip});
      field.link = static_cast<int>(tables_.links.size()) - 1;
    }
    field.resultStart = builder_.position();
  }
  if (field.link < 0 || builder_.position() != field.resultStart) return;
  CharState chars = group.chars;
  chars.link = field.link;
  builder_.appendVisible(tables_.links[size_t(field.link)].href, chars);
}

}  // namespace vl::rtf
