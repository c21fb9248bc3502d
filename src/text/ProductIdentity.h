#pragma once

#include <string_view>

class TextString;

// The engine serves a family of converters; these answer which member this program is, so
// shared code can choose names, extensions, defaults and behaviour by product and format.
// Plain functions without state.

// Product ids tested by product-dependent code.
enum ProductIdValue : int {
  kProductDoralith = 0,
  kProductTessaway = 1,
  kProductKelvane = 2,
  kProductPellumar = 3,
  kProductBrindlet = 4,
  kProductSorbelin = 5,
  kProductQuorrel = 6,
  kProductStrivelle = 8,
  kProductLettrane = 9,
  kProductPembrelle = 10,
  kProductVorlance = 11,
};

// Output formats; also the output types a Context is built for.
enum OutputFormatValue : int {
  kOutputHtml = 0,
  kOutputRtf = 1,
  kOutputPlainText = 2,
  kOutputTextMarkersDropped = 3,
};

// Host of the maker's web site (scheme included, no trailing slash); the documentation and
// home-page addresses below are paths on it.
inline constexpr std::string_view kMakerWebSite = "https://www.kelvane.example";

// 2: this program.
int GetProductId();
// 1: RTF.
int GetOutputFormat();
// "Kelvane", "2.0", "2.0.11.3" (an unknown product gives "Qvarnel", "?.?", "?.?.?").
void GetProductNameAndVersion(TextString& name, TextString& shortVersion, TextString& fullVersion);
// "kvlcons": the console edition's program name.
void GetConsoleProgramName(TextString& out);
// ".rtf".
void GetDefaultOutputExtension(TextString& out);
// November 2011 (an unknown product gives January 1900).
void GetReleaseDate(int& month, int& year);
// base: the documentation folder "/doco/" on the maker's site; page: "kelvane.html".
void GetDocumentationAddress(TextString& base, TextString& page);
// The program's page "/kelvane/" on the maker's site.
void GetProductHomePage(TextString& out);
// The name of month 1-12 in a user-interface language (1 English and any unknown language,
// 2 German ... 9 Dutch) in the language's code page (Windows-1251 bytes for Russian,
// Windows-1252 for the others); an empty text for any other month.
void GetMonthName(int language, int month, TextString& out);
// 0: optional pieces of handling guarded by this switch never run in this program.
int IsOptionalCodeEnabled();
