// A setting's registry value: the formats by kind, the scrambled block and the checks of what is
// read back.
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "settings/hidden_props.h"
#include "settings/setorra.h"
#include "settings/setorra_block.h"
#include "setorra_binding.h"
#include "vcl/scope_exit.h"
#include "vcl/collections.h"
#include "vcl/formreader.h"
#include "vcl/formwriter.h"
#include "vcl/streams.h"
#include "vcl/system.h"
#include "win32/little_endian.h"

namespace {

constexpr int kExtendedBias = 16383;
constexpr int kExtendedMaxExponent = 0x7FFF;

// The 32-bit field at the start of a value's data.
std::uint32_t FirstU32(const std::string& in) { return ReadLE32(reinterpret_cast<const std::uint8_t*>(in.data())); }

void PutCountedText(std::string& out, const std::string& text) {
  AppendLE32(out, static_cast<std::uint32_t>(text.size()));
  out += text;
}

// The text of "length, characters" filling all of data; none when the sizes disagree.
bool GetCountedText(const std::string& data, std::string& text) {
  if (data.size() < 4) return false;
  const std::uint32_t n = FirstU32(data);
  if (data.size() - 4 != n) return false;
  text = data.substr(4);
  return true;
}

std::string StreamBytes(TMemoryStream& stream) {
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

void FillStream(TMemoryStream& stream, const std::string& bytes, std::size_t from) {
  if (bytes.size() > from) stream.WriteBuffer(bytes.data() + from, static_cast<std::int64_t>(bytes.size() - from));
  stream.SetPosition(0);
}

}  // namespace

// ---- The extended format ----------------------------------------------------------------------

void ExtendedToBytes(long double Value, std::uint8_t Bytes[10]) {
  std::uint64_t mantissa = 0;
  int exponent = 0;
  const bool negative = std::signbit(Value);
  if (std::isnan(Value)) {
    exponent = kExtendedMaxExponent;
    mantissa = 0xC000000000000000ULL;
  } else if (std::isinf(Value)) {
    exponent = kExtendedMaxExponent;
    mantissa = 0x8000000000000000ULL;
  } else if (Value != 0) {
    int e = 0;
    const long double m = std::frexp(std::fabs(Value), &e);  // m in [0.5, 1)
    exponent = e - 1 + kExtendedBias;
    if (exponent <= 0) {
      // Too small for a normal number: a denormal with the exponent field 0.
      mantissa = static_cast<std::uint64_t>(std::ldexp(m, 64 + exponent - 1));
      exponent = 0;
    } else if (exponent >= kExtendedMaxExponent) {
      exponent = kExtendedMaxExponent;
      mantissa = 0x8000000000000000ULL;
    } else {
      mantissa = static_cast<std::uint64_t>(std::ldexp(m, 64));
    }
  }
  for (int i = 0; i < 8; ++i) Bytes[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
  const unsigned top = static_cast<unsigned>(exponent) | (negative ? 0x8000u : 0u);
  Bytes[8] = static_cast<std::uint8_t>(top);
  Bytes[9] = static_cast<std::uint8_t>(top >> 8);
}

long double BytesToExtended(const std::uint8_t Bytes[10]) {
  std::uint64_t mantissa = 0;
  for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | Bytes[i];
  const unsigned top = Bytes[8] | (Bytes[9] << 8);
  const bool negative = (top & 0x8000u) != 0;
  const int exponent = static_cast<int>(top & 0x7FFFu);
  long double value;
  if (exponent == kExtendedMaxExponent) {
    value = (mantissa << 1) == 0 ? std::numeric_limits<long double>::infinity()
                                 : std::numeric_limits<long double>::quiet_NaN();
  } else {
    const int scale = (exponent == 0 ? 1 : exponent) - kExtendedBias - 63;
    value = std::ldexp(static_cast<long double>(mantissa), scale);
  }
  return negative ? -value : value;
}

// ---- Plain data -------------------------------------------------------------------------------

std::string TSetorra::PlainData() {
  std::string data;
  AppendLE32(data, value_.Kind);
  switch (value_.Kind) {
    case skNone: break;
    case skString:
    case skVariant:
    case skStrings: PutCountedText(data, value_.Text); break;
    case skInteger: AppendLE32(data, static_cast<std::uint32_t>(value_.Integer)); break;
    case skFloat:
    case skDateTime: {
      std::uint8_t bytes[10];
      ExtendedToBytes(value_.Float, bytes);
      data.append(reinterpret_cast<const char*>(bytes), 10);
      break;
    }
    case skBoolean: data += static_cast<char>(value_.Boolean ? 1 : 0); break;
    case skHiddenProps: {
      TMemoryStream stream;
      const TPHiddenPropsUse hidden(dynamic_cast<TPersistent*>(value_.Object));
      hidden.WriteProp(SplitPath(boundProperty_).back(), &stream);
      data += StreamBytes(stream);
      break;
    }
    case skCollection: {
      TMemoryStream stream;
      TWriter writer(&stream);
      writer.WriteCollection(static_cast<TCollection*>(value_.Object));
      data += StreamBytes(stream);
      break;
    }
  }
  return data;
}

bool TSetorra::ReadStringsData(const std::string& Rest) {
  std::string text;
  if (!GetCountedText(Rest, text)) return false;
  CheckSettable();
  StoreAndWrite(KindValue(skStrings, &TSetorraValue::Text, text));
  return true;
}

bool TSetorra::ReadHiddenPropsData(const std::string& Rest) {
  const TBinding binding = ResolveBinding(Root(), boundProperty_, true);
  if (binding.What != TBinding::Hidden) return false;
  TMemoryStream stream;
  FillStream(stream, Rest, 0);
  const TPHiddenPropsUse hidden(dynamic_cast<TPersistent*>(binding.Instance));
  if (!hidden.ReadProp(binding.HiddenName, &stream) || stream.Position() != stream.Size()) return false;
  Store(KindValue(skHiddenProps, &TSetorraValue::Object, binding.Instance));
  return true;
}

bool TSetorra::ReadCollectionData(const std::string& Rest) {
  const TBinding binding = ResolveBinding(Root(), boundProperty_, true);
  if (binding.What != TBinding::Property || binding.Prop->Kind() != tkClass) return false;
  auto* collection = dynamic_cast<TCollection*>(GetObjectProp(*binding.Instance, *binding.Prop));
  if (!collection || Rest.empty() || static_cast<std::uint8_t>(Rest[0]) != vaCollection) return false;
  // Read once into a scratch collection, so that damaged data leaves the real one as it was.
  {
    TMemoryStream stream;
    FillStream(stream, Rest, 1);
    TCollection scratch(collection->ItemClass());
    TReader reader(&stream);
    reader.ReadCollection(&scratch);
    if (stream.Position() != stream.Size()) return false;
  }
  TMemoryStream stream;
  FillStream(stream, Rest, 1);
  TReader reader(&stream);
  reader.ReadCollection(collection);
  Store(KindValue(skCollection, &TSetorraValue::Object, collection));
  return true;
}

bool TSetorra::ReadPlainData(const std::string& Data) {
  if (Data.size() < 4) return false;
  const std::uint32_t kind = FirstU32(Data);
  const std::string rest = Data.substr(4);
  std::string text;
  switch (kind) {
    case skNone:
      if (!rest.empty()) return false;
      Store({});
      return true;
    case skString:
      if (!GetCountedText(rest, text)) return false;
      SetAsString(text);
      return true;
    case skInteger:
      if (rest.size() != 4) return false;
      SetAsInteger(static_cast<std::int32_t>(FirstU32(rest)));
      return true;
    case skFloat:
    case skDateTime: {
      if (rest.size() != 10) return false;
      const long double value = BytesToExtended(reinterpret_cast<const std::uint8_t*>(rest.data()));
      if (kind == skFloat) SetAsFloat(value);
      else
        SetAsDateTime(value);
      return true;
    }
    case skBoolean:
      if (rest.size() != 1) return false;
      SetAsBoolean(rest[0] != 0);
      return true;
    case skVariant:
      if (!GetCountedText(rest, text)) return false;
      SetAsVariant(TVariant(text));
      return true;
    case skStrings: return ReadStringsData(rest);
    case skHiddenProps: return ReadHiddenPropsData(rest);
    case skCollection: return ReadCollectionData(rest);
    default: return false;
  }
}

// ---- Writing and reading ----------------------------------------------------------------------

void TSetorra::WriteToRegistry(TRegistry* Registry, const std::string& FormKey) {
  if (!relAppSetting_.empty() || Anonymous()) return;
  RefreshFromProperty();
  const auto [key, valueName] = GetRegistryLocation(FormKey);
  if (IsModified()) {
    if (!Registry->OpenKey("\\" + key, true)) throw ERegistryException("Failed to create key '%s'", {key});
    ScopeExit closing([&] { Registry->CloseKey(); });
    if (encrypted_) {
      Randomize();
      const std::string block =
          ScrambleBlock(ScrambleMarker() + PlainData(), UniqueName(), static_cast<std::uint8_t>(Random(256)));
      Registry->WriteBinaryData(valueName, block.data(), static_cast<int>(block.size()));
      return;
    }
    switch (value_.Kind) {
      case skNone: break;
      case skString: Registry->WriteString(valueName, value_.Text); break;
      case skInteger: Registry->WriteInteger(valueName, value_.Integer); break;
      default: {
        const std::string data = PlainData();
        Registry->WriteBinaryData(valueName, data.data(), static_cast<int>(data.size()));
        break;
      }
    }
    return;
  }
  if (!Registry->OpenKey("\\" + key, false)) return;
  bool empty = false;
  {
    ScopeExit closing([&] { Registry->CloseKey(); });
    if (Registry->ValueExists(valueName)) Registry->DeleteValue(valueName);
    TRegKeyInfo info;
    empty = Registry->GetKeyInfo(info) && info.NumValues == 0 && info.NumSubKeys == 0;
  }
  if (empty) Registry->DeleteKey("\\" + key);
}

void TSetorra::DecodeStoredValue(TRegDataType Type, const std::string& Data) {
  if (encrypted_) {
    std::optional<std::string> plain;
    if (Type == rdBinary) plain = UnscrambleBlock(Data, UniqueName());
    bool read = false;
    if (plain) {
      try {
        read = ReadPlainData(plain->substr(ScrambleMarker().size()));
      } catch (const std::exception&) {
        read = false;
      }
    }
    if (!read) Store({});
    return;
  }
  switch (Type) {
    case rdString:
    case rdExpandString: SetAsString(Data); break;
    case rdInteger:
      if (Data.size() == 4) SetAsInteger(static_cast<std::int32_t>(FirstU32(Data)));
      break;
    case rdBinary:
      // Kinds 1 and 2 are stored as text and number, never as bytes.
      if (Data.size() >= 4 && FirstU32(Data) >= skFloat && FirstU32(Data) <= skCollection) ReadPlainData(Data);
      break;
    default: break;
  }
}

void TSetorra::ReadStoredValue(TRegDataType Type, const std::string& Data) {
  const TSetorraValue had = value_;
  try {
    DecodeStoredValue(Type, Data);
    WriteToProperty();
  } catch (const std::exception&) {
    value_ = had;  // unreadable or unconvertible: the setting keeps what it had
  }
}

void TSetorra::ReadFromRegistry(TRegistry* Registry, const std::string& FormKey) {
  if (!relAppSetting_.empty() || Anonymous()) return;
  const auto [key, valueName] = GetRegistryLocation(FormKey);
  if (!Registry->OpenKey("\\" + key, false)) return;
  ScopeExit closing([&] { Registry->CloseKey(); });
  TRegDataInfo info;
  if (!Registry->GetDataInfo(valueName, info)) {
    // Nothing stored: the property gets the setting's value.
    try {
      WriteToProperty();
    } catch (const std::exception&) {
      // a value the property cannot take leaves it as it was
    }
    return;
  }
  std::string data;
  try {
    switch (info.RegData) {
      case rdString:
      case rdExpandString: data = Registry->ReadString(valueName); break;
      case rdInteger: AppendLE32(data, static_cast<std::uint32_t>(Registry->ReadInteger(valueName))); break;
      case rdBinary:
        data.resize(static_cast<std::size_t>(info.DataSize));
        data.resize(static_cast<std::size_t>(Registry->ReadBinaryData(valueName, data.data(), info.DataSize)));
        break;
      default: break;
    }
  } catch (const std::exception&) {
    return;
  }
  ReadStoredValue(info.RegData, data);
}
