// The fixed screens of the shell: the start banner, the main menu and the
// category menu. They are UTF-8 here and leave as Shift_JIS; the menus are
// aligned for a console where a double-byte character takes two columns.
#include "ui/menus.hpp"

#include "core/console.hpp"
#include "core/version.hpp"

namespace kavro {

const char* const kVersion = kProgramVersion;

void print_banner() {
    out("\n\n");
    out("**************************************************\n");
    jout("      KAVRO バージョン %s \n", kVersion);
    jout("      'menu' と入力すると詳細なメニューがでます.\n");
    out("**************************************************\n");
    out("\n");
}

void print_main_menu() {
    jout_text(
        "******************* メインメニュー **************************\n"
        "*  1. txtr    2. getseq2  3. toprot   4. tofast  5. seqcat  *\n"
        "* 21. extcds 22. cdsnuc  23. extrna  24. genlist            *\n"
        "* 25. getent 26. extint  27. noncod   system  setvar        *\n"
        "* 31. getclu 32. chname  33. simtbl   help  exit  menu      *\n"
        "*<<<<<< コマンド名か番号を入力して下さい >>>>>>>>>>>>>>>>>>>*\n"
        "*  もしもKAVROのコマンドについて良く知っている場合は、      *\n"
        "*  ファイル名やオプションを一度に入力しても構いません。     *\n"
        "*************************************************************\n"
        "\n");
}

void print_category_menu() {
    jout_text(
        "**************** コマンドの分類 ************************\n"
        "* データベースからの情報抽出                           *\n"
        "*       アミノ酸配列               extcds              *\n"
        "*       コード領域のDNA配列        cdsnuc              *\n"
        "*       RNA配列                    extrna              *\n"
        "*       イントロン配列             extint              *\n"
        "*       非コード領域配列           noncod              *\n"
        "*       配列エントリー全体         getent              *\n"
        "*       遺伝子名のリスト           genlist             *\n"
        "*       FASTA形式への変換          tofast              *\n"
        "* 配列操作 ＜データベースファイルにも有効＞            *\n"
        "*       部分配列                   getseq2             *\n"
        "*       配列の結合                 seqcat              *\n"
        "*       FASTA形式への変換          tofast              *\n"
        "*       タンパク質配列への翻訳     toprot              *\n"
        "*       配列名の変更               chname              *\n"
        "*       モチーフ検索               sites               *\n"
        "* Clustal 形式のアラインメントファイルの操作           *\n"
        "*       部分配列                   getclu              *\n"
        "*       マルチFASTA形式への変換    tofast              *\n"
        "*       部分アラインメント         getclu              *\n"
        "*       アラインメントの結合       seqcat              *\n"
        "*       配列名の変更               chname              *\n"
        "*       類似度の表                 simtbl              *\n"
        "*       コドン位置の分離           splcod              *\n"
        "*       タンパクalnにあわせた核酸alnの作成             *\n"
        "*                                  nucaln              *\n"
        "* テキストファイルの操作           txtr                *\n"
        "* その他    help  menu  exit  system  setvar           *\n"
        "* 各コマンドの入力方法は'help'から調べて下さい。       *\n"
        "********************************************************\n"
        "\n");
}

}  // namespace kavro
