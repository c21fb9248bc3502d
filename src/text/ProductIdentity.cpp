#include "text/ProductIdentity.h"

#include <string_view>

#include "text/TextString.h"

namespace {

struct ProductRow {
  int id;
  std::string_view name;
  std::string_view consoleName;
  // Versions and release dates are known only for this program; other members of the
  // family are never selected here.
  std::string_view shortVersion;
  std::string_view fullVersion;
  int releaseMonth;
  int releaseYear;
};

struct MonthNamesRow {
  int language;
  const char* januaryToJune;  // comma-separated, trailing comma
  const char* julyToDecember;
};

}  // namespace

static constexpr ProductRow kProducts[] = {
    {kProductDoralith, "Doralith", "oxvcons", "?.?", "?.?.?", 1, 1900},
    {kProductTessaway, "Tessaway", "wqecons", "?.?", "?.?.?", 1, 1900},
    {kProductKelvane, "Kelvane", "kvlcons", "2.0", "2.0.11.3", 11, 2011},
    {kProductPellumar, "Pellumar", "pzmcons", "?.?", "?.?.?", 1, 1900},
    {kProductBrindlet, "Brindlet", "brncons", "?.?", "?.?.?", 1, 1900},
    {kProductSorbelin, "Sorbelin", "Sorbelin", "?.?", "?.?.?", 1, 1900},
    {kProductQuorrel, "Quorrel", "quorrel", "?.?", "?.?.?", 1, 1900},
    {kProductStrivelle, "Strivelle", "jqhcons", "?.?", "?.?.?", 1, 1900},
    {kProductLettrane, "Lettrane", "Lettrane", "?.?", "?.?.?", 1, 1900},
    {kProductPembrelle, "Pembrelle Corporation's HTML generator", "Pembrelle", "?.?", "?.?.?", 1,
     1900},
    {kProductVorlance, "Vorlance", "vrlc", "?.?", "?.?.?", 1, 1900},
};
// Any id outside the table (7 included).
static constexpr ProductRow kUnknownProduct = {-1, "Qvarnel", "Qvarnel", "?.?", "?.?.?", 1, 1900};

// In the interface language's code page: Windows-1251 for Russian, Windows-1252 for the
// others.
static constexpr MonthNamesRow kMonthNames[] = {
    {1, "January,February,March,April,May,June,",
     "July,August,September,October,November,December,"},
    {2, "Januar,Februar,M\xE4rz,April,Mai,Juni,",
     "Juli,August,September,Oktober,November,Dezember,"},
    {3, "Enero,Febrero,Marzo,Abril,Mayo,Junio,",
     "Julio,Agosto,Septiembre,Octubre,Noviembre,Diciembre,"},
    {4, "Janvier,F\xE9vrier,Mars,Avril,Mai,Juin,",
     "Juillet,Ao\xFBt,Septembre,Octobre,Novembre,D\xE9"
     "cembre,"},
    {5, "Janeiro,Fevereiro,Mar\xE7o,Abril,Maio,Junho,",
     "Julho,Agosto,Setembro,Outubro,Novembro,Dezembro,"},
    {6, "Gennaio,Febbraio,Marzo,Aprile,Maggio,Giugno,",
     "Luglio,Agosto,Settembre,Ottobre,Novembre,Dicembre,"},
    {7, "Januari,Februari,Mars,April,Maj,Juni,",
     "Juli,Augusti,September,Oktober,November,December,"},
    {8,
     "\xDF\xED\xE2\xE0\xF0\xFC,\xD4\xE5\xE2\xF0\xE0\xEB\xFC,\xCC\xE0\xF0\xF2,"
     "\xC0\xEF\xF0\xE5\xEB\xFC,\xCC\xE0\xE9,\xC8\xFE\xED\xFC,",
     "\xC8\xFE\xEB\xFC,\xC0\xE2\xE3\xF3\xF1\xF2,\xD1\xE5\xED\xF2\xFF\xE1\xF0\xFC,"
     "\xCE\xEA\xF2\xFF\xE1\xF0\xFC,\xCD\xEE\xFF\xE1\xF0\xFC,\xC4\xE5\xEA\xE0\xE1\xF0\xFC,"},
    {9, "Januari,Februari,Maart,April,Mei,Juni,",
     "Juli,Augustus,September,Oktober,November,December,"},
};

static const ProductRow& ThisProduct() {
  const int id = GetProductId();
  for (const ProductRow& row : kProducts) {
    if (row.id == id)
      return row;
  }
  return kUnknownProduct;
}

static void AssignView(TextString& out, std::string_view text) {
  out.AssignBytes(text.data(), static_cast<int>(text.size()));
}

int GetProductId() { return kProductKelvane; }

int GetOutputFormat() { return kOutputRtf; }

void GetProductNameAndVersion(TextString& name, TextString& shortVersion, TextString& fullVersion) {
  const ProductRow& row = ThisProduct();
  AssignView(name, row.name);
  AssignView(shortVersion, row.shortVersion);
  AssignView(fullVersion, row.fullVersion);
}

void GetConsoleProgramName(TextString& out) { AssignView(out, ThisProduct().consoleName); }

void GetDefaultOutputExtension(TextString& out) { out.Assign(".rtf"); }

void GetReleaseDate(int& month, int& year) {
  const ProductRow& row = ThisProduct();
  month = row.releaseMonth;
  year = row.releaseYear;
}

void GetDocumentationAddress(TextString& base, TextString& page) {
  AssignView(base, kMakerWebSite);
  base.Append("/doco/");
  page.Assign("kelvane.html");
}

void GetProductHomePage(TextString& out) {
  AssignView(out, kMakerWebSite);
  out.Append("/kelvane/");
}

void GetMonthName(int language, int month, TextString& out) {
  const MonthNamesRow* names = &kMonthNames[0];  // English, also for unknown languages
  for (const MonthNamesRow& row : kMonthNames) {
    if (row.language == language)
      names = &row;
  }
  TextString all(names->januaryToJune);
  all.Append(names->julyToDecember);
  if (!all.GetField(month, ',', out))
    out.SetEmpty();
}

int IsOptionalCodeEnabled() { return 0; }
