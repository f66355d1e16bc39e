#pragma once
// Form descriptions in the class library's text form, as compiled into the programs:
//
//   object fmLogo: TfmLogo
//     Caption = 'Tarnquill'#13#10'line two'      strings: quotes, '' inside, #nn codes, joined by +
//     Left = -8                                     integers, $hex, floats (1.5, 2e3)
//     Color = clBtnFace                             identifiers: enumerations, named constants,
//     Font.Style = [fsBold, fsItalic]               True/False, nil, component names; sets
//     OnClick = btLogoClick                         events name the root's published handlers
//     Items.Strings = ('a' 'b')                     lists of values
//     Picture.Data = {0A0B0C}                       binary data of DefineProperties properties
//     Columns = <item Width = 5 end>                collections: items of a TCollection property
//     object btLogo: TButton ... end                nested objects; `inherited` for an ancestor's
//   end
//
// Syntax errors raise EParserError naming the line; read errors (an unknown class, property,
// value or handler) keep their class and get " (line N)" added to their message.
#include <string>
#include <vector>

#include "vcl/formreader.h"

class EParserError : public Exception {
  using Exception::Exception;
};

// Builds Root's components and properties from the description (see vcl/formreader.h).
void ReadComponentText(const std::string& Text, TComponent* Root, const std::vector<TFormField>& Fields = {});
