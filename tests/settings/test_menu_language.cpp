// ApplyMenuLanguage: the bytes of every text of every language, checked
// against iconv's conversion of the texts below.
#include "settings/context_menu.h"
#include "settings/menu_language.h"
#include "tests/settings/settings_support.h"

#include <gtest/gtest.h>

#include <errno.h>
#include <iconv.h>

namespace {

const char *const ValueNames[12] = {
    "AdjustDateSTR",
    "ExitSTR",
    "OptionsSTR",
    "ShowDateOnLeftSTR",
    "ShowDateSTR",
    "ShowSecondsSTR",
    "ShowDayOfWeekSTR",
    "SkinsSTR",
    "TransparentBackgroundSTR",
    "Use12HourFormatSTR",
    "ZantorDialwickStartUpSTR",
    "LangSTR",
};

// The texts as the language tables give them, in UTF-8.
// clang-format off
const struct {
    const char *Name;
    const char *CodePage;
    const char *Texts[12];
} Languages[16] = {
    {"Chinese(Traditional)", "CP950", {"調整日期/時間", "結束", "時鐘選項", "顯示日期在這 左邊", "顯示日期", "顯示秒數", "Show Day of the Week",
        "面板", "透明的背景", "使用 12-小時 格式", "在啟動時執行時鐘", "語系"}},
    {"Chinese", "CP936", {"调整日期和时间", "退出", "时钟选项", "显示日期在 左", "显示日期", "显示秒", "Show Day of the Week", "外壳", "透明底色",
        "使用12小时格式", "在启动时即运行该时钟", "语言种类"}},
    {"German", "CP1252", {"Einstellen Datum && Zeit", "Beenden", "Optionen", "Zeige Datum links", "Zeige Datum",
        "Zeige Sekunden", "Show Day of the Week", "Skins", "Durchsichtiger Hintergrund", "12-Std. Format",
        "Automatischer Start von Zantor Dialwick", "Sprache"}},
    {"Spanish", "CP1252", {"Ajustar Fecha/Hora", "Salir", "Opciones", "Mostrar fecha Izquierda", "Mostrar Fecha",
        "Mostrar Segundos", "Show Day of the Week", "Skins", "Fondo Transparente", "Formato de 12 horas",
        "Ejecutar el reloj al inicio", "Lenguajes"}},
    {"Finnish", "CP1252", {"Säädä Päivämäärää ja &Aikaa", "Lopeta", "Kellon Asetukset", "Näytä päivämäärä Vasemmalla",
        "Näytä &Päivämäärä", "Näytä Sekunnit", "Show Day of the Week", "Kuoret", "Läpinäkyvä &Tausta",
        "12 tunnin formaatti", "Käynnistä kello Windows käynnistyksen yhteydessä", "Kielet"}},
    {"French", "CP1252", {"Ajuster la Date/Heure", "Quitter", "Options", "Afficher la date A Gauche", "Afficher Date",
        "Afficher les secondes", "Show Day of the Week", "Skins", "Fond Transparent", "Format 12 heures",
        "Lancer l\"horloge au démarrage", "Langages"}},
    {"Greek", "CP1253", {"Ρύθμιση Ημερομηνίας&&Ώρας", "Έξοδος", "Ρολόι &Επιλογές", "Δείξε ημερομηνία στις Αριστερά",
        "Εμφάνιση &Ημερομηνία", "Δείξε δευτερόλεπτα", "Show Day of the Week", "Μορφές", "Διαφανές &Υπόβαθρο",
        "Μορφή 12-ώρου", "Να εμφανίζεται το ρολόι με την ΕΝΑΡΞΗ", "Γλώσσες"}},
    {"Italian", "CP1252", {"Regola Data&&Ora", "Uscita", "Opzioni", "Mostra data a Sinistra", "Visualizza Data",
        "Visualizza Secondi", "Show Day of the Week", "Skins", "Sfondo Trasparente", "Usa formato 12 ore",
        "Avvia l\"orologio all\"avvio", "Linguaggi"}},
    {"Japanese", "CP932", {"日付と時刻の調整(&A)", "終了(&E)", "クロック オプション(&O)", "日付を表示 左", "日付の表示(&D)", "秒を表示",
        "Show Day of the Week", "スキン", "透明な背景(&B)", "１２時間形式", "スタートアップ時にクロックを起動", "言語"}},
    {"English", "CP1252", {"Adjust Date&&Time", "Exit", "Options", "Show Date On Left", "Show Date", "Show Seconds",
        "Show Day of the Week", "Skins", "Transparent Background", "Use 12-Hour Format",
        "Start Zantor Dialwick on StartUp", "Languages"}},
    {"Netherlands", "CP1252", {"Pas Datum/Tijd aan", "Afsluiten", "Opties", "Toon datum Links", "Toon Datum",
        "Toon seconden", "Show Day of the Week", "Skins", "Doorzichtige Achterground", "Gebruik 12-uur notatie",
        "Start de klok bij opstarten", "Talen"}},
    {"Norwegian", "CP1252", {"Juster Dato&&Tid", "Lukk", "Instillinger", "Vis dato til Venstre", "Vis Dato",
        "Vis sekunder", "Show Day of the Week", "Hud", "Gjennomsiktig Bakgrunn", "Bruk 12-timers format",
        "Start klokken på startopp", "Sprek"}},
    {"Polish", "CP1250", {"Ustaw Datk/Czas", "Wyjście", "Opcje", "Pokaż datę Po lewej stronie", "Pokaż Datk",
        "Pokaż sekundy", "Show Day of the Week", "Skóry", "Przezroczyste Tio", "Używaj formatu 12h",
        "Uruchamiaj zegar przy starcie systemu", "Jkzyk"}},
    {"Portuguese", "CP1252", {"Acertar Data e Hora", "Sair", "Opções", "Mostrar Data À Esquerda", "Mostrar Data",
        "Mostrar Segundos", "Show Day of the Week", "Skins", "Fundo Transparente", "Usar formato12-horas",
        "Executar o relógio ao Inicio.", "Idiomas"}},
    {"Russian", "CP1251", {"Настройка даты/времени", "Выход", "Настройки", "Показывать дату слева", "Показывать дату",
        "Показывать секунды", "Показывать День Недели", "Виды", "Прозрачный фон", "12 часовой формат",
        "Запускать часы вместе с Windows", "Языки"}},
    {"Swedish", "CP1252", {"Ställa in datum && tid", "Avsluta", "Inställningar", "Visa datum till Vänster",
        "Visa Datum", "Visa sekunder", "Show Day of the Week", "Skal", "Genomskinlig Bakgroind", "12-timmars format",
        "Starta klockan vid Windows start", "Sprek"}},
};
// clang-format on

// UTF-8 to the code page with the system's iconv; every character must convert.
std::vector<uint8_t> Encode(const std::string &utf8, const char *codePage)
{
    std::vector<uint8_t> out;
    iconv_t cd = iconv_open(codePage, "UTF-8");
    if (cd == (iconv_t)-1) {
        ADD_FAILURE() << "iconv has no " << codePage;
        return out;
    }
    char *in = const_cast<char *>(utf8.data());
    size_t inLeft = utf8.size();
    std::vector<char> buffer(utf8.size() * 2 + 8);
    char *o = buffer.data();
    size_t outLeft = buffer.size();
    if (iconv(cd, &in, &inLeft, &o, &outLeft) == (size_t)-1)
        ADD_FAILURE() << "cannot convert \"" << utf8 << "\" to " << codePage << ": errno " << errno;
    iconv_close(cd);
    out.assign(buffer.data(), o);
    return out;
}

struct MenuLanguage : ::testing::Test {
    void SetUp() override { SetUpLibrary(); }
    void TearDown() override
    {
        EXPECT_TRUE(NothingLeftOpen());
        EXPECT_EQ(SimLiveMenus(), 0);
    }
    // Every value of a language is stored with its exact bytes and a terminator.
    void ExpectLanguageStored(int index)
    {
        StoredValue lang = Stored("Lang");
        EXPECT_EQ(lang.Type, (DWORD)REG_DWORD);
        EXPECT_EQ(lang.Data, Dword(index));
        for (int i = 0; i < 12; i++) {
            std::vector<uint8_t> expected = Encode(Languages[index].Texts[i], Languages[index].CodePage);
            expected.push_back(0);
            StoredValue v = Stored(ValueNames[i]);
            EXPECT_EQ(v.Type, (DWORD)REG_SZ) << Languages[index].Name << " " << ValueNames[i];
            EXPECT_EQ(v.Data, expected) << Languages[index].Name << " " << ValueNames[i];
        }
    }
};

// Each language in turn replaces every text of the one before, and the key
// holds Lang and the twelve texts in that order.
TEST_F(MenuLanguage, EveryTextIsItsCodePagesBytes)
{
    std::vector<std::string> names{"Lang"};
    names.insert(names.end(), ValueNames, ValueNames + 12);
    for (int index : {3, 0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}) {
        ApplyMenuLanguage(index);
        ExpectLanguageStored(index);
        EXPECT_EQ(SimRegValueNames(SettingsKey), names);
    }
}

}  // namespace
