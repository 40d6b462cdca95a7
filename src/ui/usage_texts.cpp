// Usage texts of the commands and the other help texts. Each command
// prints its own with show_help(word); the help loop shows them by word or
// number. Japanese lines are UTF-8 here and leave as Shift_JIS.
#include "ui/usage_texts.hpp"

namespace kavro::usage {

const std::string_view txtr =
    "*********************** TXTR のヘルプ ******************************\n"
    "使い方: txtr infile outfile.\n\n"
    "       このプログラムは、テキストファイルをさまざまに\n"
    "       変換します。数字や空白の除去、改行コードの修正、\n"
    "       大文字小文字変換などです。\n"
    "使い方: txtr infile outfile option.\n"
    "       option を指定すると、メニューを出さずにその操作を行います。\n"
    "       1, 2, 3x, 4, 5, 6, 7, CR, J60, c10-20 などです。\n"
    "*******************************************************************\n";

const std::string_view getseq2 =
    "********************** GETSEQ2 のヘルプ ****************************\n"
    "使い方: getseq2 infile outfile startpos endpos n/c.\n\n"
    "       このプログラムは、配列の一部を取り出すものです。\n"
    "入力ファイル形式は raw, Fasta, GenBank, EMBL,\n"
    "       SwissProt, PIR または PRFです。 \n"
    "  + と - が、startpos, endposの中で利用できます。\n"
    "       last をendposで利用できます。.\n"
    "       最初の行に circular とあれば、環状配列として扱います。\n"
    "*******************************************************************\n";

const std::string_view toprot =
    "************************* TOPROT のヘルプ ***************************\n"
    "使い方: toprot infile outfile switch codon_table.\n\n"
    "       このプログラムは、DNA 配列を翻訳します。出力形式はswitchで指定し，\n"
    "       単一フレーム翻訳FASTA形式 (1),６フレーム翻訳FASTA形式 (6),\n"
    "       または、６フレーム翻訳にDNA配列を加えた複合形式 (c),\n"
    "       または、３フレーム翻訳にDNA配列を加えた複合形式 (n)、\n"
    "       あるいは、DNA配列にエキソンの翻訳を加えた発表形式 (p)があります。\n"
    "       可能な全てのORFのリスト (a)またはそれらの配列 (s)\n"
    "       を出力することもできます。\n"
    "       p を選んだ場合は、pの文字のすぐあとにエキソンの位置を指定した\n"
    "       ファイルの名前を入れてください。 \n"
    "       a または s を選んだ場合，配列の最小長さをa/sに続いてスペースなしで\n"
    "       書きます。一番長いORFだけを出力する場合には，数字の代わりに maxと書きます\n"
    "       数字の後にlongestsをつけると，重なったORFのうちで最長のものだけを \n"
    "       出力します。たとえば，s300longestsとします。 \n"
    "*********************************************************************\n";

const std::string_view tofast =
    "********************************** TOFAST のヘルプ ****************************************\n"
    "使い方: tofast infile outfile [d/r/p/c/i/b/s/min/max/ms/o/-] <options>.\n\n"
    "       このプログラムは、raw, GenBank, および EMBL 形式のファイルにある配列を\n"
    "       FASTA 形式で出力ファイルに書き出します。その際に、DNAとRNA,核酸とタンパク質 \n"
    "       の変換、および相補鎖変換などを行います。raw配列の場合をを除いて、複数配列\n"
    "       を含むファイルを一括処理します。\n"
    "       CLUSTAL 形式のアラインメントファイルもマルチFASTA形式ファイルに変換します。\n"
    "       PIR と SwissProt/Uniprot 形式のタンパク質ファイルにも対応しています。\n"
    "       オプションスイッチの説明\n"
    "       d [n,c], DNA; r [n,c], RNA; p [フレーム] [コドン表を指定できる], タンパク質;\n"
    "       ここで[n,c]のnは正方向を,cは相補鎖を示します。\n"
    "       c, 相補鎖 <データの型は変わらない場合>.\n"
    "       i, 配列情報の出力、塩基数、塩基組成. 後ろに,[s] 配列, [l] 長さ\n"
    "          [n] 配列名, を指定することもできます。その場合、指定したものだけが出力されます。\n"
    "       b, 配列中における塩基組成等の変動を表にして出力する。\n"
    "       s, 配列名に従って配列を並べ直します。\n"
    "       min, 指定した長さ以上の配列だけを出力します。\n"
    "       max, 指定した長さ以下の配列だけを出力します。\n"
    "       ms, 質量分析のm/z値を配列データベースに対してサーチします。\n"
    "       オプションの d と r の場合、 'n' は省略できる。\n"
    "       オプションの p の場合、コドン表を指定できる。\n"
    "       オプションの b の場合、組成計算のウィンドウサイズとスライドサイズを指定する。\n"
    "       オプションを指定しない場合、単純に FASTA 形式に変換する。\n"
    "       オプションの msを指定した場合，分析パラメータ定義ファイルを後に指定します。\n"
    "       オプション指定無しに FASTA ファイルを処理すると、セミコロンでかかれたコメントや\n"
    "       ギャップ文字などが除去される「クリアモード」となります。\n"
    "   TOFAST コマンドの特別なオプション\n"
    "       outfile として stdout を指定できます。この場合、メッセージはstderrに出力され、\n"
    "       データの出力がstdoutにでます。UNIXで便利かも知れません。\n"
    "*******************************************************************************************\n";

const std::string_view complement =
    "Usage: comple infile outfile.\n\n"
    "       This program converts a sequence file in the raw,\n"
    "       GenBank and EMBL formats into a complementary sequence\n"
    "       in a fasta file .\n"
    "       Now accepts multiple file in FASTA, GenBank and EMBL\n"
    "       formats. Comments are removed from FASTA file.\n\n";

const std::string_view to_rna =
    "Usage: toRNA infile outfile.\n\n"
    "       This program converts a DNA sequence into \n"
    "       an RNA sequence in a fasta file.\n\n";

const std::string_view seqcat =
    "*********************** SEQCAT のヘルプ ****************************\n"
    "使い方: seqcat file1 file2 outfile.\n\n"
    "       このプログラムは、file2 の配列を file1 の配列の後につなげて、\n"
    "       outfile に書き出します。\n"
    "       KAVRO が読むことのできる全てのファイル形式で、１この配列を含む\n"
    "       ファイルを扱うことができます。\n"
    "       もしも file1 と file2 の両方が CLUSTAL 形式であれば、\n"
    "       出力も CLUSTAL 形式となります。それ以外の場合には、出力は\n"
    "       FASTA 形式となります.\n"
    "*******************************************************************\n";

const std::string_view extcds =
    "********************** EXTCDS のヘルプ ************************\n"
    "使い方: extcds infile outfile <optional cds_name>.\n\n"
    "       このプログラムは、GenBank または EMBL ファイルから\n"
    "       コード領域のアミノ酸配列を取り出します。\n"
    "       出力はマルチファスタファイルです。\n"
    "もしも <cds_name>を加えた場合、その１個の配列だけを出力します。\n"
    "デフォルトではすべてのアミノ酸配列を取り出します。\n"
    "使い方: extcds infile outfile_root t.\n"
    "       outfile_root.p.table という名前の表が作られます。\n"
    "使い方: extcds infile outfile exoninf.\n"
    "       現在のextcdsでは，エキソンの詳細は表示されませんが，\n"
    "       exoninfというオプションをつけると，以前のようにエキソンの\n"
    "       情報が表示されます。\n"
    "***********************************************************\n";

const std::string_view cdsnuc =
    "*********************** CDSNUC のヘルプ ***************************\n"
    "使い方: cdsnuc infile outfile start end <cds_name>.\n\n"
    "\tstart と end の書式は S xx または  E xx です.\n"
    "\tS xx は、 CDS の開始点から xx 塩基目を意味し、\n"
    "\tE xx は、 CDS の終止点から xx 塩基目を意味します。\n"
    "<cds_name> は、データを取り出したい CDS 名で、無くても構いません.\n"
    "ADDSEQG を TRUE にしていると、出力にイントロン 配列が含まれます.\n"
    "その場合、途中で切れた部分配列も示されます.\n"
    "使い方: cdsnuc infile outfile split <cds_name>.\n\n"
    "       exons 毎に xxxxx をはさんでプリントします.\n"
    "***************************************************************\n";

const std::string_view extrna =
    "******************* EXTRNA のヘルプ *****************************\n"
    "使い方: extrna infile outfile start end <RNA_name>.\n\n"
    "        start と end の書式は S xx または  E xx です.\n"
    "        S xx は、 RNA の開始点から xx 塩基目を意味し、\n"
    "        E xx は、 RNA の終止点から xx 塩基目を意味します。\n"
    "<RNA_name> は、データを取り出したい RNA 名で、無くても構いません.\n"
    "ADDSEQG を TRUE にしていると、出力にイントロン 配列が含まれます.\n"
    "その場合、途中で切れた部分配列も示されます.\n"
    "**************************************************************\n";

const std::string_view genlist =
    "********************** GENLIST のヘルプ **************************\n"
    "使い方: genlist infile <outfile>.\n\n"
    "       このプログラムはGenBank または EMBL ファイルに含まれるCDS名.\n"
    "       を表示します。また、ファスタファイルの情報も表示します。\n"
    "  出力ファイル名<outfile> が無ければ、出力は画面にでます。\n"
    "**************************************************************\n";

const std::string_view getent =
    "********************* GETENT のヘルプ *****************************\n"
    "使い方: getent dbfile outfile ID=... AC=... OS=... DE=...\n"
    "       dbfile: データベースファイル. ID, accession, organism,\n"
    "       または definition を含め最高１０個の指定ができます。\n"
    "ID または ACでは、ワイルドカード (#であり、*ではない) が使えます。\n"
    "       マルチFASTAファイルの場合，IDしか使えません。\n\n"
    "使い方: getent dbfile outfile uniID=...,...\n"
    "       最初に見つかったエントリーのみをコピーします。\n\n"
    "使い方: getent dbfile outfile NO=...,...\n"
    "       コンマで区切った前後の数字の範囲の番号の配列を取り出します。\n\n"
    "使い方: getent dbfile outfile File=...\n"
    "       指定したファイルに書かれた配列を取り出します。\n\n"
    "使い方: getent dbfile outdir Group=...\n"
    "       ファイルにグループ毎に書かれた配列を取り出し，outdirという\n"
    "       ディレクトリにグループ毎のファイルとして保存します。\n\n"
    "使い方: getent dbfile outfile Split=..\n"
    "       dbfileという配列ファイルの配列を指定した個数のファイルに分割します。\n"
    "       ただしファイル毎の配列数を100, 1000など割り切れる数にするため，\n"
    "       指定した数よりも多く分割されることがあります。\n\n"
    "*******************************************************************\n";

const std::string_view extint =
    "*********************** EXTINT のヘルプ ***************************\n"
    "使い方: extint infile outfile start end <cds_name>.\n\n"
    "        start と end の書式は S xx または  E xx です.\n"
    "        S xx は、 イントロン の開始点から xx 塩基目を意味し、\n"
    "        E xx は、 イントロン の終止点から xx 塩基目を意味します。\n"
    "<cds_name> は、データを取り出したい CDS 名で、無くても構いません.\n"
    "*******************************************************************\n";

const std::string_view noncod =
    "\n************************* NONCOD のヘルプ ****************************\n"
    "このプログラムはGenBank または EMBL ファイルから、非コード領域\n"
    "の配列を取り出します。\n\n"
    "使い方: noncod infile outfile flag.\n"
    "\tinfile: \t配列データを含む入力ファイルの名前.\n"
    "\toutfile:\t出力ファイル名.\n"
    "\tflag:\t\tイントロンを含めるときは 1 にする。それ以外は 0.\n"
    "その他のオプションとしては:\n"
    "\t -help (-h)\tこのヘルプ.\n"
    "************************************************************************\n\n";

const std::string_view getclu =
    "*********************** GETCLU のヘルプ ****************************\n"
    "使い方: getclu infile outfile startpos endpos\n\n"
    "  + または - を位置の指定の中で利用できます。\n"
    "  last をendposのところで利用できます。\n"
    "別の使い方: getclu infile outfile 出力フォーマット\n"
    "       ph, Phylipフォーマット、cl, Clustalフォーマット。\n"
    "並べ直し: getclu infile outfile sort\n"
    "配列部位の選択: getclu infile outfile オプション名 レベル/範囲\n"
    "  オプション名は gap または inf.\n"
    "  gap, 指定したレベル以上のギャップを含む部位をアラインメントから削除。\n"
    "  inf, 指定した範囲に情報量がある部位だけを選択。\n"
    "       範囲は少数で，最小値-最大値のように指定します。\n"
    "*******************************************************************\n";

const std::string_view chname =
    "*********************** CHNAME のヘルプ ****************************\n"
    "使い方: chname infile outfile [old_name new_name]\n\n"
    "       このプログラムを使うと、FASTA または CLUSTAL ファイルの\n"
    "       中の配列名 (ID)を変えることができます。old_name と new_name \n"
    "       を省略すると、対話形式で名前の変更を行います。\n"
    "       配列が一個の時、 - で旧配列名の代わりができます。.\n"
    "*******************************************************************\n";

const std::string_view simtbl =
    "*********************** SIMTBL のヘルプ ****************************\n"
    "使い方: simtbl infile outfile \n\n"
    "       このプログラムは、FASTA または CLUSTAL ファイルに含まれる\n"
    "       配列の２つずつの組の間での類似性スコアを計算します。\n"
    "       FASTA 形式の場合、すべての配列の長さが同一であることが\n"
    "       必要です。\n\n"
    "使い方: simtbl infile outfile list\n"
    "       同一配列を探してリストを作ります。\n\n"
    "使い方: simtbl infile outfile nr\n"
    "       同一配列があれば１つだけにして，重複のない配列セットを作ります。\n"
    "*******************************************************************\n";

const std::string_view nucaln =
    "*********************** NUCALN のヘルプ ****************************\n"
    "使い方: nucaln aa.aln nuc.fa out.aln <editing>.\n\n"
    "       このプログラムは、アミノ酸配列アラインメントを元にして、\n"
    "       それに丁度あった核酸配列アラインメントを作る.\n"
    "       aa.aln は、Clustal形式のアミノ酸配列アラインメントファイル.\n"
    "       nuc.fa は、マルチFASTA形式の核酸配列ファイル.\n"
    "       出力ファイルout.alnは、Clustal形式のアラインメントファイルになる.\n"
    "       aa.alnとnuc.faにおいて、各配列名は完全に同一であること。 \n"
    "       <editing> スイッチ: 1なら C から T へのエディティングを許容。\n"
    "*******************************************************************\n";

const std::string_view sites =
    "************************ SITES のヘルプ ****************************\n"
    "使い方: sites infile outfile mode motif <match_level>.\n\n"
    "       このプログラムは、モチーフとして与えた配列をデータベース配列のなかで\n"
    "       検索します。\n"
    "利用できる入力ファイル形式: raw, Fasta, GenBank, EMBL, SwissProt, または PRF. \n"
    "モード0, 最後のまとめだけ; モード1, 詳しい検索結果も表示(標準). \n"
    "モード2, 表形式; モード3, 回文配列自動検索。この場合、最小最大長をmotifとして指定。\n"
    "         最小と最大はドットをはさんで続けて入力すること。\n"
    "<match_level>は、無くてもよく、モチーフの一致の程度を指定するものです。\n"
    "*******************************************************************\n";

const std::string_view splcod =
    "*********************** SPLCOD のヘルプ ****************************\n"
    "使い方: splcod infile \n\n"
    "       このプログラムはコドンの３つの位置のそれぞれだけから\n"
    "       なるアラインメントファイルを作ります。入力はClustal形式です。\n"
    "*******************************************************************\n";

const std::string_view other_commands =
    "***************** その他のコマンドの説明 ********************\n"
    "その他のコマンド. \n\n"
    "   テスト版コマンド.\n"
    "      splcod   コドン位置の分離.\n"
    "      nucaln   タンパクalnにあわせた核酸alnの作成.\n"
    "      sites    モチーフ検索.\n"
    "   ファイル操作. \n"
    "      copy(cp) <file1> <file2> \n"
    "             <file1> を <file2>にコピーする \n"
    "      remove(rm,delete,del) <file1> <file2> ... \n"
    "             <file1> <file2> ... の全てを消去する\n"
    "      fcat <file1> <file2>\n"
    "             <file2> の内容を<file1>の後に追加する. \n"
    "   環境変数の設定. \n"
    "      setvar form [circular/default].\n"
    "             circular: 全ての配列を環状DNA に固定する.\n"
    "             default: データファイルの設定に従う.\n"
    "      setvar printline(line) [<number>/default].\n"
    "             <number>: 一行の長さをこの数にセットする.\n"
    "             default: 一行の長さを75字とする .\n"
    "      setvar addseqg [true,TRUE,1/false].\n"
    "             true: cdsnuc と extrnaにおいてイントロンを含める.\n"
    "      setvar seq_import [true,TRUE,1/false].\n"
    "             true: 外部配列エントリーからデータを取り込む.\n"
    "   文字コード. \n"
    "      環境変数 KAVRO_CHARSET=UTF-8 で日本語の表示を UTF-8 にする.\n"
    "   システムのコマンドの実行 (Unix および DOS). \n"
    "      system <system command>.\n"
    "*************************************************************\n";

const std::string_view codon_tables =
    "******************** HELP CODON TABLE ****************************\n"
    "default, code1         universal codon table\n"
    "mt, code4              mold,protozoan,coelenterate  mitochondrial\n"
    "                         Mycoplasma/Spiroplasma \n"
    "code2                  vertebrate mitochondrial\n"
    "code3                  yeast mitochondrial\n"
    "code5                  invertebrate mitochondrial\n"
    "code6                  ciliate macronuclear and Dasycladacean\n"
    "code9                  echinoderm mitochondrial\n"
    "code10                 euplotid nuclear\n"
    "code11                 bacterial\n"
    "code12                 alternative yeast nuclear\n"
    "code13                 ascidian mitochondrial\n"
    "code14                 flatworm mitochondiral\n"
    "code15                 Blepharisma macronuclear\n"
    "******************************************************************\n";

}  // namespace kavro::usage
