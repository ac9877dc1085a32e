#include "convert/CommandLine.h"

namespace mirvel::convert {
namespace {

constexpr const char* Overview =
    "使い方: mirvel-convert <コマンド> [オプション]\n"
    "\n"
    "単語リストのファイル (.mirvel) と、表計算ソフトやほかの単語帳ソフトが書き出すテキストの\n"
    "単語表 (タブ区切りの TSV、コンマ区切りの CSV) を相互に変換します。表計算のブック\n"
    "(Excel の .xlsx、LibreOffice の .ods) もそのまま読み込めます。\n"
    "\n"
    "コマンド:\n"
    "  import   TSV・CSV の単語表や .xlsx・.ods のブックから .mirvel ファイルを作る\n"
    "  export   .mirvel ファイルを TSV・CSV・Anki 用のテキストに書き出す\n"
    "  check    .mirvel ファイルに壊れた箇所がないか調べる\n"
    "  list     .mirvel ファイルの単語を番号付きで一覧表示する\n"
    "\n"
    "コマンドごとの説明: mirvel-convert <コマンド> --help\n"
    "\n"
    "入力ファイルに - を指定すると標準入力から読み込み、export の -o - は標準出力に書き出します。\n"
    "それ以外の名前のパイプやデバイスは読み書きしません。\n"
    "\n"
    "終了コード: 0 成功、1 問題が見つかった・入力を受け付けなかった、2 使い方の誤り\n";

constexpr const char* Import =
    "使い方: mirvel-convert import 入力.tsv|.csv|.txt|.xlsx|.ods -o 出力.mirvel [オプション]\n"
    "\n"
    "1 行に 1 組、フランス語・日本語の順に並んだ単語表から .mirvel ファイルを作ります。\n"
    "空行、# で始まる行、フランス語と日本語の両方が空の行は飛ばします (両方が空の行は数を\n"
    "知らせ、片方だけが空の組はその行を知らせて書き込みます)。Anki が書き出すテキスト (.txt)\n"
    "もそのまま読めます。\n"
    "\n"
    "書き込む前にすべての欄を調べます。フランス語は Windows-1252 で 16 バイトまで、日本語は\n"
    "Shift-JIS で 40 バイトまで (エディターで入力できる長さ) で、どの文字もその文字コードに\n"
    "なければなりません。ただし規格で同じ文字とされるもの (〜 U+301C は ～、U+202F は\n"
    "U+00A0 など) はその文字にして、文字ごとに知らせます。制御文字 (タブと改行を除く) も\n"
    "使えません。問題はそれぞれ「ファイル:行:列」で知らせ、一つでもあれば何も書き込み\n"
    "ません (--skip か --cut を付けたときを除く)。出力ファイルは書き終えてから一度に置き換える\n"
    "ので、失敗しても元のファイルはそのまま残ります。\n"
    "\n"
    "入力の文字コードは、BOM (UTF-8、UTF-16) があればそれに従い、なければ正しい UTF-8 なら\n"
    "UTF-8 です。そうでなければ Shift-JIS と Windows-1252 で読んでみて、フランス語の欄が\n"
    "すべて Windows-1252 に、日本語の欄がすべて Shift-JIS に収まる方を使い、どちらにしたかを\n"
    "表示します。どちらとも決まらないときは --encoding で指定してください。Shift-JIS か\n"
    "Windows-1252 で読んだフランス語に文字のとなりの「?」があれば、表計算ソフトが保存のときに\n"
    "アクセントを失ったことを知らせます (「CSV UTF-8」で保存し直してください)。\n"
    "\n"
    "--header も --no-header も --columns もなければ、1 行目が組になりえず (フランス語が\n"
    "Windows-1252 にない文字を含む、または日本語に日本語の文字がない) 続く行が組であるとき、\n"
    "1 行目を列の名前として読み飛ばし、そのことを知らせます。\n"
    "\n"
    "拡張子が .xlsx (.xlsm) か .ods のファイルは表計算のブックとして、最初のシート (--sheet で\n"
    "ほかのシート) を読みます。Excel で「CSV」を選んだときのようにアクセントが失われることは\n"
    "ありません。セルは表示どおりの文字 (文字列、数値) として読み、そのあとはテキストの単語表と\n"
    "同じです (列の名前の行、--columns、空の行、長さ、--skip、--cut)。場所は「シート名!B7」の\n"
    "ようにセルで知らせます。日付、TRUE/FALSE、エラー値、計算結果の保存されていない数式、通貨や\n"
    "パーセントの書式の数値が単語の列にあれば問題です (ほかの列なら無視します)。単語の 2 列の\n"
    "ほかの列はメモとして無視し、何も入っていない行は読み飛ばします。# で始まるセルもただの\n"
    "文字です。非表示の行やシートも読み、結合したセルは左上のセルの文字です。壊れたブック、\n"
    "大きすぎるブック (展開して 256 MB、圧縮の 1,000 倍まで) は読みません。\n"
    "\n"
    "区切りは、拡張子が .csv ならコンマ (最初の行がそろってセミコロンで区切れて、コンマでは\n"
    "そうならないときはセミコロン)、ほかはタブです。\n"
    "\n"
    "ファイルの先頭 (最初の組より上) にある Anki のヘッダーを読みます:\n"
    "  #separator:      区切り (Tab、Comma、Semicolon、Pipe、Space、Colon か 1 文字)\n"
    "  #html:           true なら欄を HTML として読み、タグや画像を除いて文字にする\n"
    "  #columns:        列の名前 (区切りで区切る)。組の列の数と合わなければ問題です\n"
    "  #tags column:, #deck column:, #notetype column:, #guid column:\n"
    "                   タグ・デッキ・ノートタイプ・GUID の列の番号 (単語の列にはしない)\n"
    "#tags:、#deck:、#notetype:、#if matches:、#match scope: は読み飛ばし、知らないヘッダーは\n"
    "その行を知らせて飛ばします。\n"
    "\n"
    "単語の列は、タグ・デッキ・ノートタイプ・GUID の列を除いた最初の 2 列で、先の列が\n"
    "フランス語、あとの列が日本語です。ヘッダーのない表で 3 つ目の欄に何かあれば問題として\n"
    "知らせます (区切りが単語の中にあることが多いため)。Anki のヘッダーがあるとき、列の名前の\n"
    "行があるとき、--columns を付けたときは、ほかの列は無視します。\n"
    "\n"
    "オプション:\n"
    "  -o, --output <ファイル>   作る .mirvel ファイル (必ず指定)\n"
    "  --csv                     コンマ区切り (RFC 4180) として読む (拡張子が .csv なら自動)\n"
    "  --tsv                     タブ区切りとして読む (拡張子が .csv 以外なら自動)\n"
    "  --separator <区切り>      tab、comma、semicolon か 1 文字 (--csv、--tsv、#separator:、\n"
    "                            セミコロンの見分けより優先)\n"
    "  --columns <列>,<列>       フランス語の列と日本語の列。1 から数える番号か、#columns: や\n"
    "                            1 行目 (--header) にある列の名前 (例: 3,4  Français,Japonais)\n"
    "  --header                  1 行目は列の名前として読み、単語の組にはしない\n"
    "  --no-header               1 行目も単語の組として読む\n"
    "  --html                    欄を HTML として読む (#html:true と同じ)\n"
    "  --sheet <シート>          ブックのシートの名前か、1 から数える番号 (数字だけなら番号)\n"
    "  --encoding <文字コード>   入力の文字コード: utf-8, cp932, cp1252 (ブックには使えません。\n"
    "                            --csv、--tsv、--separator も同じです)\n"
    "  --skip                    問題のある行を飛ばして残りを書き込み、飛ばした行を表示する\n"
    "  --cut                     長すぎる欄を文字の境目で切り詰め、切り詰めた欄を表示する\n"
    "                            (2 バイト文字の途中では切りません)\n"
    "  -h, --help                この説明を表示する\n"
    "\n"
    "\" で始まる欄は閉じる \" までの一つの欄として読みます (区切りや改行を含められ、欄の中の\n"
    "\" は \"\" と書きます)。欄の途中の \" はただの文字です。区切りがタブでないとき、また Anki\n"
    "のヘッダーのあるファイルでは、閉じない \" は問題です。タブ区切りでは、区切りか改行の前で\n"
    "閉じない \" はただの文字として読み、そのことを知らせます。\n";

constexpr const char* Export =
    "使い方: mirvel-convert export 入力.mirvel -o 出力.tsv|出力.csv|出力.txt [オプション]\n"
    "\n"
    ".mirvel ファイルの単語を、1 行に 1 組、フランス語・日本語の順に書き出します。\n"
    "既定はほかのソフトや表計算ソフトで開ける UTF-8 のタブ区切りで、行末は CR LF です。\n"
    "書き出せない欄が一つでもあれば、そのレコード番号を表示して何も書き込みません。\n"
    "\n"
    "オプション:\n"
    "  -o, --output <ファイル>   書き出すファイル (必ず指定)\n"
    "  --csv                     コンマ区切り (RFC 4180) で書き出す (拡張子が .csv なら自動)。\n"
    "                            コンマ・引用符・改行を含む欄は \" で囲みます\n"
    "  --tsv                     タブ区切りで書き出す (拡張子が .csv 以外なら自動)。\n"
    "                            タブ・引用符・改行を含む欄は書き出せません\n"
    "  --encoding <文字コード>   utf-8 (既定), cp932, cp1252\n"
    "  --bom                     先頭に BOM を付ける (UTF-8 のみ。Excel で開くときに)\n"
    "  --anki                    Anki でそのまま読み込めるテキストで書き出す (UTF-8、タブ区切り、\n"
    "                            行末 LF、先頭に #separator:tab と #html:false)。タブ・引用符・\n"
    "                            改行を含む欄は \" で囲みます。--csv、--tsv、--bom、utf-8 以外の\n"
    "                            --encoding とは同時に使えません\n"
    "  -h, --help                この説明を表示する\n"
    "\n"
    "--anki のファイルを Anki で読み込むと、どのノートタイプでも 1 列目 (フランス語) が 1 番目の\n"
    "フィールドに、2 列目 (日本語) が 2 番目のフィールドに入ります。フランス語が空の組は、Anki が\n"
    "読み込まずに知らせます。\n";

constexpr const char* Check =
    "使い方: mirvel-convert check 入力.mirvel\n"
    "\n"
    ".mirvel ファイルのレコード数を表示し、次のものをレコード番号付きで知らせます。\n"
    "  - 末尾の 60 バイトに満たない半端なレコード\n"
    "  - 容量 (フランス語 17、日本語 41) を超える長さバイト\n"
    "  - その文字コード (フランス語 Windows-1252、日本語 Shift-JIS) で読めないバイト\n"
    "  - 単語にはない制御文字 (NUL などの U+0000〜U+001F と U+007F。タブと改行は除く)\n"
    "問題がなければ終了コード 0、あれば 1 で終わります。\n"
    "\n"
    "オプション:\n"
    "  -h, --help                この説明を表示する\n";

constexpr const char* List =
    "使い方: mirvel-convert list 入力.mirvel\n"
    "\n"
    ".mirvel ファイルの単語を、レコード番号・フランス語・日本語の順に、桁をそろえて表示します。\n"
    "制御文字は記号 (␉ など) で表示します。\n"
    "\n"
    "オプション:\n"
    "  -h, --help                この説明を表示する\n";

const char* NameOf(CommandKind kind)
{
    switch (kind) {
        case CommandKind::Import:
            return "import";
        case CommandKind::Export:
            return "export";
        case CommandKind::Check:
            return "check";
        case CommandKind::List:
            return "list";
        case CommandKind::Overview:
            break;
    }
    return "";
}

}  // namespace

std::string HelpText(CommandKind kind)
{
    switch (kind) {
        case CommandKind::Import:
            return Import;
        case CommandKind::Export:
            return Export;
        case CommandKind::Check:
            return Check;
        case CommandKind::List:
            return List;
        case CommandKind::Overview:
            break;
    }
    return Overview;
}

std::string HelpHint(CommandKind kind)
{
    const std::string name = NameOf(kind);
    return "使い方は mirvel-convert " + (name.empty() ? std::string() : name + " ") + "--help で表示されます";
}

}  // namespace mirvel::convert
