<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>OrinEdit</name>
    <message>
        <source>アイテム削除などで参照されなくなった画像を削除してスリム化します。
     データをスリム化しますか？</source>
        <translation>Pictures no longer referenced (after deleting items, for example) are removed to slim the data.
     Slim the data?</translation>
    </message>
    <message>
        <source>データ送信</source>
        <translation>Send Data</translation>
    </message>
    <message>
        <source>Paste(完全コピー)</source>
        <translation>Paste (full copy)</translation>
    </message>
    <message>
        <source>Paste(テキスト変更可)</source>
        <translation>Paste (own text)</translation>
    </message>
    <message>
        <source>Paste(画像・テキスト変更可)</source>
        <translation>Paste (own picture and text)</translation>
    </message>
    <message>
        <source>このページにはこれ以上アイテムを追加できません（1ページ256個まで）</source>
        <translation>No more items can be added to this page (at most 256 per page)</translation>
    </message>
    <message>
        <source>何もしない</source>
        <translation>does nothing</translation>
    </message>
    <message>
        <source>（ありません）</source>
        <translation> (missing)</translation>
    </message>
    <message>
        <source>ページ %1 へ</source>
        <translation>to page %1</translation>
    </message>
    <message>
        <source>アイテム %1 にフォーカス</source>
        <translation>focus on item %1</translation>
    </message>
    <message>
        <source>マクロ %1 を実行</source>
        <translation>runs macro %1</translation>
    </message>
    <message>
        <source>アイテム %1 のアクションを実行</source>
        <translation>runs the action of item %1</translation>
    </message>
    <message>
        <source>「%1」を実行</source>
        <translation>runs &quot;%1&quot;</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>前のページへ</source>
        <translation>to the previous page</translation>
    </message>
    <message>
        <source>ページ %1 を再表示</source>
        <translation>shows page %1 again</translation>
    </message>
    <message>
        <source>ページ %1</source>
        <translation>Page %1</translation>
    </message>
    <message>
        <source> アイテム %1</source>
        <translation> item %1</translation>
    </message>
    <message>
        <source> の %1</source>
        <translation> field %1</translation>
    </message>
    <message>
        <source>（マクロ %1）</source>
        <translation> (macro %1)</translation>
    </message>
    <message>
        <source>マクロ %1</source>
        <translation>Macro %1</translation>
    </message>
    <message>
        <source>ページ %1 へは最初のページから行けません</source>
        <translation>Page %1 cannot be reached from the first page</translation>
    </message>
    <message>
        <source>ページ %1 のアイテム %2 にはフォーカスが届きません</source>
        <translation>Item %2 of page %1 never gets the focus</translation>
    </message>
    <message>
        <source>ページ %1 のアイテム %2 から矢印キーでどこへも行けません</source>
        <translation>The arrow keys lead nowhere from item %2 of page %1</translation>
    </message>
    <message>
        <source>%1: ページ %2 はありません</source>
        <translation>%1: there is no page %2</translation>
    </message>
    <message>
        <source>%1: アイテム %2 はありません</source>
        <translation>%1: there is no item %2</translation>
    </message>
    <message>
        <source>%1: テキスト %2 はありません</source>
        <translation>%1: there is no text %2</translation>
    </message>
    <message>
        <source>%1: マクロ %2 はありません</source>
        <translation>%1: there is no macro %2</translation>
    </message>
    <message>
        <source>%1: 画像 %2 はありません</source>
        <translation>%1: there is no picture %2</translation>
    </message>
    <message>
        <source>まずコンテンツのロードが必要です</source>
        <translation>Load content first</translation>
    </message>
    <message>
        <source>画像テーブルに空きがないため、ページを追加できません（画像IDは199まで）</source>
        <translation>The page cannot be added: the picture table is full (picture IDs up to 199)</translation>
    </message>
    <message>
        <source>素材テーブルに空きがないため、ページを追加できません（素材IDは255まで）</source>
        <translation>The page cannot be added: the material table is full (material IDs up to 255)</translation>
    </message>
    <message>
        <source>IDの上限に達したため、ページを追加できません</source>
        <translation>The page cannot be added: no IDs are left</translation>
    </message>
    <message>
        <source>サーバーからデータを受信しています...</source>
        <translation>Receiving data from the server...</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>アイテム枠の表示</source>
        <translation>Show Item Frames</translation>
    </message>
    <message>
        <source>編集可能枠の表示</source>
        <translation>Show Editable Frames</translation>
    </message>
    <message>
        <source>編集済み枠の表示</source>
        <translation>Show Edited Frames</translation>
    </message>
    <message>
        <source>レディ</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>テスト用ローカルサーバ</source>
        <translation>Local test server</translation>
    </message>
    <message>
        <source>アクション編集</source>
        <translation>Edit Action</translation>
    </message>
    <message>
        <source>チャンネルリスト</source>
        <translation>Channel List</translation>
    </message>
    <message>
        <source>カラーマップ編集</source>
        <translation>Edit Colour Map</translation>
    </message>
    <message>
        <source>指定値に間違いがあります</source>
        <translation>The values given are wrong</translation>
    </message>
    <message>
        <source>アイテム属性</source>
        <translation>Item Properties</translation>
    </message>
    <message>
        <source>ページ属性設定</source>
        <translation>Page Properties</translation>
    </message>
    <message>
        <source>サーバーロード</source>
        <translation>Load from Server</translation>
    </message>
    <message>
        <source>%1 から %2 までの整数を入力してください。</source>
        <translation>Enter a whole number from %1 to %2.</translation>
    </message>
    <message>
        <source>ネットワーク設定</source>
        <translation>Network Settings</translation>
    </message>
    <message>
        <source>IPアドレスまたはホスト名を入力してください。</source>
        <translation>Enter an IP address or a host name.</translation>
    </message>
    <message>
        <source>ポート番号は 1 から 65535 の整数を入力してください。</source>
        <translation>Enter a port number from 1 to 65535.</translation>
    </message>
    <message>
        <source>正の整数を入力してください。</source>
        <translation>Enter a positive whole number.</translation>
    </message>
    <message>
        <source>データスリム化</source>
        <translation>Slim Data</translation>
    </message>
    <message>
        <source>ファイルがオープンできません</source>
        <translation>The file cannot be opened</translation>
    </message>
    <message>
        <source>ファイルが破損しています。
読み込めた部分だけを表示しています。
元のファイルは上書きされません。別の名前で保存してください。</source>
        <translation>The file is damaged.
Only the part that could be read is shown.
The original file will not be overwritten; save under another name.</translation>
    </message>
    <message>
        <source>ポータブル保存の上書き保存はできません</source>
        <translation>A portable save cannot overwrite an existing file</translation>
    </message>
    <message>
        <source>編集中のデータをセーブしますか？</source>
        <translation>Save the data being edited?</translation>
    </message>
    <message>
        <source>ファイルを破棄しますか？</source>
        <translation>Discard the file?</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>bjpx,bjpﾌｧｲﾙ (*.bjpx,*.bjp)</source>
        <translation>bjpx, bjp files (*.bjpx,*.bjp)</translation>
    </message>
    <message>
        <source>BJPXファイルの読み込み</source>
        <translation>Open BJPX File</translation>
    </message>
    <message>
        <source>BJPXファイルの書き込み</source>
        <translation>Save BJPX File</translation>
    </message>
    <message>
        <source>BJPXファイルのポータブル保存</source>
        <translation>Portable Save of BJPX File</translation>
    </message>
    <message>
        <source>コメント変更</source>
        <translation>Change Comment</translation>
    </message>
    <message>
        <source>ページ属性</source>
        <translation>Page Properties</translation>
    </message>
    <message>
        <source>テキスト編集</source>
        <translation>Edit Text</translation>
    </message>
    <message>
        <source>画像変更</source>
        <translation>Change Picture</translation>
    </message>
    <message>
        <source>画像追加</source>
        <translation>Add Picture</translation>
    </message>
    <message>
        <source>ページ複製</source>
        <translation>Duplicate Page</translation>
    </message>
    <message>
        <source>リナンバリング</source>
        <translation>Renumber</translation>
    </message>
    <message>
        <source>ページ追加</source>
        <translation>Add Page</translation>
    </message>
    <message>
        <source>貼り付け</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>ページを削除しますか？</source>
        <translation>Delete the page?</translation>
    </message>
    <message>
        <source>JPEGﾌｧｲﾙ (*.jpg)</source>
        <translation>JPEG files (*.jpg)</translation>
    </message>
    <message>
        <source>JPEGファイルの読み込み</source>
        <translation>Open JPEG File</translation>
    </message>
    <message>
        <source>PNGﾌｧｲﾙ (*.png)</source>
        <translation>PNG files (*.png)</translation>
    </message>
    <message>
        <source>PNGファイルの読み込み</source>
        <translation>Open PNG File</translation>
    </message>
    <message>
        <source>GIFﾌｧｲﾙ (*.gif)</source>
        <translation>GIF files (*.gif)</translation>
    </message>
    <message>
        <source>GIFファイルの読み込み</source>
        <translation>Open GIF File</translation>
    </message>
    <message>
        <source>アイテム追加</source>
        <translation>Add Item</translation>
    </message>
    <message>
        <source>アイテム作成</source>
        <translation>Create Item</translation>
    </message>
    <message>
        <source>アイテム削除</source>
        <translation>Delete Item</translation>
    </message>
    <message>
        <source>アイテム移動</source>
        <translation>Move Item</translation>
    </message>
    <message>
        <source>アイテムサイズ変更</source>
        <translation>Resize Item</translation>
    </message>
    <message>
        <source>画像からサイズ取得</source>
        <translation>Size from Picture</translation>
    </message>
    <message>
        <source>画像からアイテム作成</source>
        <translation>Create Item from Picture</translation>
    </message>
    <message>
        <source>グループテキスト編集</source>
        <translation>Edit Group Text</translation>
    </message>
    <message>
        <source>本アプリケーションはデータを伝送できません</source>
        <translation>This application cannot transmit data</translation>
    </message>
    <message>
        <source>ページ削除</source>
        <translation>Delete Page</translation>
    </message>
    <message>
        <source>ページ移動</source>
        <translation>Move Page</translation>
    </message>
    <message>
        <source>アイテム属性...</source>
        <translation>Item Properties...</translation>
    </message>
    <message>
        <source>テキスト枠作成</source>
        <translation>Create Text Frame</translation>
    </message>
    <message>
        <source>決定</source>
        <translation>Enter</translation>
    </message>
    <message>
        <source>ｄ</source>
        <translation>d</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>青</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>赤</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>緑</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>黄</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)	Ctrl+Z</source>
        <translation>&amp;Undo	Ctrl+Z</translation>
    </message>
    <message>
        <source>切り取り(&amp;T)	Ctrl+X</source>
        <translation>Cu&amp;t	Ctrl+X</translation>
    </message>
    <message>
        <source>コピー(&amp;C)	Ctrl+C</source>
        <translation>&amp;Copy	Ctrl+C</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)	Ctrl+V</source>
        <translation>&amp;Paste	Ctrl+V</translation>
    </message>
    <message>
        <source>ファイルサイズ500kバイト以下の画像のみ有効です</source>
        <translation>Only pictures of 500 KB or less can be used</translation>
    </message>
    <message>
        <source>登録ファイルサイズが最大値を超えました。</source>
        <translation>The total size of the registered files exceeds the maximum.</translation>
    </message>
    <message>
        <source>960×540,1920×1080のJPEGのみ対応です</source>
        <translation>Only JPEG pictures of 960×540 or 1920×1080 can be used</translation>
    </message>
    <message>
        <source>%1 に書き込めません。
プロジェクトファイルの名前は .bjpx か .bjp で終わります。</source>
        <translation>Cannot write %1.
The name of a project file ends in .bjpx or .bjp.</translation>
    </message>
    <message>
        <source>コンテンツフォルダにコピーできなかったファイル:
</source>
        <translation>Files that could not be copied into the content folder:
</translation>
    </message>
    <message>
        <source>%1 に書き込めません。
%2</source>
        <translation>Cannot write %1.
%2</translation>
    </message>
    <message>
        <source>無限ループになります。</source>
        <translation>This makes an endless loop.</translation>
    </message>
    <message>
        <source>映像画面</source>
        <translation>Video screen</translation>
    </message>
    <message>
        <source>ガイド画面</source>
        <translation>Guide screen</translation>
    </message>
    <message>
        <source>決定キーで映像画面に移行します</source>
        <translation>Enter goes to the video screen</translation>
    </message>
    <message>
        <source>他のチャンネル</source>
        <translation>Other channel</translation>
    </message>
    <message>
        <source>決定キーで戻ります。</source>
        <translation>Enter goes back.</translation>
    </message>
    <message>
        <source>ウェブにあるデータ放送画面</source>
        <translation>Data broadcast screen on the web</translation>
    </message>
    <message>
        <source>パスワードには半角英数字と記号だけを使用できます</source>
        <translation>A password may contain only ASCII letters, digits and symbols</translation>
    </message>
    <message>
        <source>パスワードは115文字以内で入力してください</source>
        <translation>Enter a password of at most 115 characters</translation>
    </message>
    <message>
        <source>FTP転送失敗</source>
        <translation>FTP transfer failed</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>Succeeded</translation>
    </message>
    <message>
        <source>失敗</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>この伝送先へのデータ転送は行いません</source>
        <translation>No data is sent to this destination</translation>
    </message>
    <message>
        <source>伝送完了 %1</source>
        <translation>Transmitted %1</translation>
    </message>
    <message>
        <source>伝送失敗 %1</source>
        <translation>Transmission failed %1</translation>
    </message>
    <message>
        <source>転送を中止しました</source>
        <translation>The transfer was cancelled</translation>
    </message>
    <message>
        <source>ポート番号が正しくありません</source>
        <translation>The port number is wrong</translation>
    </message>
    <message>
        <source>アドレスが正しくありません</source>
        <translation>The address is wrong</translation>
    </message>
    <message>
        <source>ラベル情報を読めません。
</source>
        <translation>Cannot read the label information.
</translation>
    </message>
    <message>
        <source>UTF-8 ではありません</source>
        <translation>it is not UTF-8</translation>
    </message>
    <message>
        <source>LabelContents 要素がありません</source>
        <translation>there is no LabelContents element</translation>
    </message>
    <message>
        <source>%1 行 %2 桁: %3</source>
        <translation>line %1, column %2: %3</translation>
    </message>
    <message>
        <source> を作成できません</source>
        <translation> cannot be created</translation>
    </message>
    <message>
        <source>受信データを展開できません。
</source>
        <translation>Cannot unpack the received data.
</translation>
    </message>
    <message>
        <source>名前のない項目があります</source>
        <translation>An entry has no name</translation>
    </message>
    <message>
        <source>名前が長すぎる項目があります</source>
        <translation>An entry has a name that is too long</translation>
    </message>
    <message>
        <source>名前が UTF-8 ではない項目があります</source>
        <translation>An entry has a name that is not UTF-8</translation>
    </message>
    <message>
        <source>絶対パスの項目があります: %1</source>
        <translation>An entry has an absolute path: %1</translation>
    </message>
    <message>
        <source>使えない文字を含む項目があります: %1</source>
        <translation>An entry has a character that cannot be used: %1</translation>
    </message>
    <message>
        <source>制御文字を含む項目があります</source>
        <translation>An entry has a control character in its name</translation>
    </message>
    <message>
        <source>親フォルダを指す項目があります: %1</source>
        <translation>An entry points to a parent folder: %1</translation>
    </message>
    <message>
        <source>空の名前を含む項目があります: %1</source>
        <translation>An entry has an empty name part: %1</translation>
    </message>
    <message>
        <source>アーカイブが壊れています: %1</source>
        <translation>The archive is damaged: %1</translation>
    </message>
    <message>
        <source>ファイルとフォルダが同じ名前です: %1</source>
        <translation>A file and a folder have the same name: %1</translation>
    </message>
    <message>
        <source>フォルダを作れません: %1</source>
        <translation>Cannot create the folder: %1</translation>
    </message>
    <message>
        <source>データが大きすぎます（上限 %1 バイト）</source>
        <translation>The data is too large (limit %1 bytes)</translation>
    </message>
    <message>
        <source>ファイルを作れません: %1</source>
        <translation>Cannot create the file: %1</translation>
    </message>
    <message>
        <source>ファイルに書き込めません: %1</source>
        <translation>Cannot write the file: %1</translation>
    </message>
    <message>
        <source>項目が多すぎます</source>
        <translation>There are too many entries</translation>
    </message>
    <message>
        <source>リンクの項目があります: %1</source>
        <translation>An entry is a link: %1</translation>
    </message>
    <message>
        <source>スパースファイルの項目があります: %1</source>
        <translation>An entry is a sparse file: %1</translation>
    </message>
    <message>
        <source>通常のファイルでもフォルダでもない項目があります: %1</source>
        <translation>An entry is neither a file nor a folder: %1</translation>
    </message>
    <message>
        <source>展開先のフォルダがありません</source>
        <translation>There is no folder to unpack into</translation>
    </message>
    <message>
        <source>展開先のフォルダが空ではありません: %1</source>
        <translation>The folder to unpack into is not empty: %1</translation>
    </message>
    <message>
        <source>メモリが足りません</source>
        <translation>Out of memory</translation>
    </message>
    <message>
        <source>アーカイブを開けません: %1</source>
        <translation>Cannot open the archive: %1</translation>
    </message>
    <message>
        <source>プロジェクトファイル（.bjpx）がありません</source>
        <translation>There is no project file (.bjpx)</translation>
    </message>
    <message>
        <source>プロジェクトファイル（.bjpx）が複数あります</source>
        <translation>There is more than one project file (.bjpx)</translation>
    </message>
    <message>
        <source>データを受信できません</source>
        <translation>The data cannot be received</translation>
    </message>
    <message>
        <source>データをOFDM変調器に送信しますか？</source>
        <translation>Send the data to the OFDM modulator?</translation>
    </message>
    <message>
        <source>データを制御ソフトに送信しますか？</source>
        <translation>Send the data to the control software?</translation>
    </message>
    <message>
        <source>データを送信サーバーに送信しますか？</source>
        <translation>Send the data to the transmission server?</translation>
    </message>
    <message>
        <source>データをFTPサーバーに送信しますか？</source>
        <translation>Send the data to the FTP server?</translation>
    </message>
    <message>
        <source>一般PNGが含まれています。データを伝送できません</source>
        <translation>The content includes general PNG pictures. The data cannot be transmitted</translation>
    </message>
    <message>
        <source>伝送中です。終了してから実行してください</source>
        <translation>A transmission is running. Try again when it has finished</translation>
    </message>
    <message>
        <source>数字の１の位で以下の指定ができます。
   0：なし
   1：ワードラップ
   2：文字のボールド指定
   3：ワードラッドプ、ボールド
   4：イタリック体指定
   5：ワードラップ、イタリック
   6：ボールド、イタリック
   7：ワードラップ、ボールド、イタリック
 数字の１0の位でフォント番号の指定ができます。
 あらかじめ、HTML5のソースで、
 Tessaro.util.fontfamily1～Tessaro.util.fontfamily5の  
 ５つにフォント名を入れて指定します。
</source>
        <translation>The ones digit selects:
   0: nothing
   1: word wrap
   2: bold
   3: word wrap, bold
   4: italic
   5: word wrap, italic
   6: bold, italic
   7: word wrap, bold, italic
 The tens digit selects a font number.
 Put the five font names into
 Tessaro.util.fontfamily1 to Tessaro.util.fontfamily5
 of the HTML5 source beforehand.
</translation>
    </message>
    <message>
        <source>アイテムを以下の専用モードにします。
  0:&#x3000;一般アイテム
  1:&#x3000;カーソル専用アイテム
  2:&#x3000;テキスト表示専用アイテム
  3:&#x3000;テキスト表示専用アイテム(センタリング)
  4:  一般アイテム(非表示)
  5:  テキスト表示専用アイテム(行間24px)
  6:  テキスト表示専用アイテム(行間28px)
  7:  テキスト表示専用アイテム(行間32px)
  50～54:  画像を1/2,1/3,1/4,1/6,1/8で表示          
  100～&#x3000;： 専用アイテムのユーザ拡張</source>
        <translation>Puts the item into one of these special modes:
  0:  general item
  1:  cursor-only item
  2:  text display item
  3:  text display item (centred)
  4:  general item (hidden)
  5:  text display item (line height 24px)
  6:  text display item (line height 28px)
  7:  text display item (line height 32px)
  50-54:  picture shown at 1/2, 1/3, 1/4, 1/6, 1/8
  100-:  user extensions of special items</translation>
    </message>
    <message>
        <source>（→のページ）</source>
        <translation>(page to the right)</translation>
    </message>
    <message>
        <source>（↓のページ）</source>
        <translation>(page below)</translation>
    </message>
    <message>
        <source>（ページ順送り）</source>
        <translation>(next page in order)</translation>
    </message>
    <message>
        <source>アクセス先</source>
        <translation>Destination</translation>
    </message>
    <message>
        <source>- カーソル専用</source>
        <translation>- cursor only</translation>
    </message>
    <message>
        <source>- テキスト専用</source>
        <translation>- text only</translation>
    </message>
    <message>
        <source>- テキストセンタリング</source>
        <translation>- text centred</translation>
    </message>
    <message>
        <source>- 非表示</source>
        <translation>- hidden</translation>
    </message>
    <message>
        <source>- テキスト専用24</source>
        <translation>- text only 24</translation>
    </message>
    <message>
        <source>- テキスト専用28</source>
        <translation>- text only 28</translation>
    </message>
    <message>
        <source>- テキスト専用32</source>
        <translation>- text only 32</translation>
    </message>
    <message>
        <source>アイテム%1 - テキスト %2</source>
        <translation>Item %1 - text %2</translation>
    </message>
    <message>
        <source> テキストID:%1, ラベル:%2</source>
        <translation> text ID:%1, label:%2</translation>
    </message>
    <message>
        <source> グループテキストID:%1, ラベル:%2 </source>
        <translation> group text ID:%1, label:%2 </translation>
    </message>
    <message>
        <source> 画像ID:%1, サイズ:%2, タイプ:%3, ラベル:%4</source>
        <translation> picture ID:%1, size:%2, type:%3, label:%4</translation>
    </message>
    <message>
        <source>アイテム%1 - イメージ %2 %3</source>
        <translation>Item %1 - image %2 %3</translation>
    </message>
    <message>
        <source>アイテム%1 - アクション %2</source>
        <translation>Item %1 - action %2</translation>
    </message>
    <message>
        <source>ページタイマー</source>
        <translation>Page timer</translation>
    </message>
    <message>
        <source>マーキー</source>
        <translation>Marquee</translation>
    </message>
    <message>
        <source>時計</source>
        <translation>Clock</translation>
    </message>
    <message>
        <source>アイテムタイマー</source>
        <translation>Item timer</translation>
    </message>
    <message>
        <source>スライダー %1</source>
        <translation>Slider %1</translation>
    </message>
    <message>
        <source>アイテム %1 </source>
        <translation>Item %1 </translation>
    </message>
    <message>
        <source>キー </source>
        <translation>Key </translation>
    </message>
    <message>
        <source>数字 %1</source>
        <translation>Digit %1</translation>
    </message>
    <message>
        <source>クリック アイテム %1</source>
        <translation>Click on item %1</translation>
    </message>
    <message>
        <source> のティック</source>
        <translation> tick</translation>
    </message>
    <message>
        <source>マクロ %1 を実行（セクション %2）</source>
        <translation>Runs macro %1 (section %2)</translation>
    </message>
    <message>
        <source>アクション %1[%2]%3</source>
        <translation>Action %1[%2]%3</translation>
    </message>
    <message>
        <source>アクション %1&lt;b style=&quot;background-color:#ffe27a&quot;&gt;%2&lt;/b&gt;%3</source>
        <translation>Action %1&lt;b style=&quot;background-color:#ffe27a&quot;&gt;%2&lt;/b&gt;%3</translation>
    </message>
    <message>
        <source>ページ %1 を表示</source>
        <translation>Shows page %1</translation>
    </message>
    <message>
        <source>のテキスト「%1」</source>
        <translation>text &quot;%1&quot;</translation>
    </message>
    <message>
        <source>の画像 %1</source>
        <translation>picture %1</translation>
    </message>
    <message>
        <source>の背景色 %1</source>
        <translation>background colour %1</translation>
    </message>
    <message>
        <source>の文字色 %1</source>
        <translation>text colour %1</translation>
    </message>
    <message>
        <source>を表示</source>
        <translation>shown</translation>
    </message>
    <message>
        <source>を非表示</source>
        <translation>hidden</translation>
    </message>
    <message>
        <source>メモリ %1 =「%2」</source>
        <translation>Memory %1 = &quot;%2&quot;</translation>
    </message>
    <message>
        <source>入力バッファ =「%1」</source>
        <translation>Input buffer = &quot;%1&quot;</translation>
    </message>
    <message>
        <source> 開始（%1 ms）</source>
        <translation> started (%1 ms)</translation>
    </message>
    <message>
        <source> 停止</source>
        <translation> stopped</translation>
    </message>
    <message>
        <source>メッセージ「%1」</source>
        <translation>Message &quot;%1&quot;</translation>
    </message>
    <message>
        <source>左揃え</source>
        <translation>Align Left</translation>
    </message>
    <message>
        <source>右揃え</source>
        <translation>Align Right</translation>
    </message>
    <message>
        <source>上揃え</source>
        <translation>Align Top</translation>
    </message>
    <message>
        <source>下揃え</source>
        <translation>Align Bottom</translation>
    </message>
    <message>
        <source>左右中央揃え</source>
        <translation>Align Horizontal Centres</translation>
    </message>
    <message>
        <source>上下中央揃え</source>
        <translation>Align Vertical Centres</translation>
    </message>
    <message>
        <source>ブラウザで開く</source>
        <translation>Open in Browser</translation>
    </message>
    <message>
        <source>数値を入力してください。</source>
        <translation>Please enter a number.</translation>
    </message>
    <message>
        <source>%1 は既に存在します。
上書きしますか？</source>
        <translation>%1 already exists.
Do you want to replace it?</translation>
    </message>
    <message>
        <source>拡張子が .bjpx でも .bjp でもありません。</source>
        <translation>The name ends neither in .bjpx nor in .bjp.</translation>
    </message>
    <message>
        <source>ファイルが見つかりません。</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <source>ファイルではなくフォルダです。</source>
        <translation>It is a folder, not a file.</translation>
    </message>
    <message>
        <source>読み取りが許可されていません。</source>
        <translation>Reading it is not permitted.</translation>
    </message>
    <message>
        <source>ファイルを読み込めません。</source>
        <translation>The file cannot be read.</translation>
    </message>
    <message>
        <source>プロジェクトのデータがありません（空か、別の形式のファイルです）。</source>
        <translation>It holds no project (it is empty or a file of another kind).</translation>
    </message>
    <message>
        <source>サーバーに接続できません</source>
        <translation>Cannot connect to the server</translation>
    </message>
    <message>
        <source>サーバーにログインできません（ユーザー名またはパスワードが違います）</source>
        <translation>Cannot log in to the server (wrong user name or password)</translation>
    </message>
    <message>
        <source>サーバーの応答がありません（時間切れ）</source>
        <translation>The server does not answer (timed out)</translation>
    </message>
    <message>
        <source>サーバーが要求を拒否しました</source>
        <translation>The server refused the request</translation>
    </message>
    <message>
        <source>サーバーのディスクに空きがありません</source>
        <translation>The server&apos;s disk is full</translation>
    </message>
    <message>
        <source>サーバーとの接続が切れました</source>
        <translation>The connection to the server was lost</translation>
    </message>
    <message>
        <source>受信データが上限の %1 バイトを超えたため、受信を止めました</source>
        <translation>The received data went past its limit of %1 bytes; receiving was stopped</translation>
    </message>
    <message>
        <source>ファイルを読み書きできません: %1</source>
        <translation>Cannot read or write the file: %1</translation>
    </message>
    <message>
        <source>FTP 転送に失敗しました</source>
        <translation>The FTP transfer failed</translation>
    </message>
    <message>
        <source>%1（サーバーの応答: %2）</source>
        <translation>%1 (the server said: %2)</translation>
    </message>
    <message>
        <source>ラベルが多すぎます（上限 %1 個）</source>
        <translation>Too many labels (at most %1)</translation>
    </message>
    <message>
        <source> の名前を変えられません</source>
        <translation> cannot be renamed</translation>
    </message>
    <message>
        <source>名前が長すぎる項目があります: %1</source>
        <translation>An entry has a name that is too long: %1</translation>
    </message>
    <message>
        <source>ページ %1 の背景</source>
        <translation>Background of page %1</translation>
    </message>
    <message>
        <source>素材 %1</source>
        <translation>Material %1</translation>
    </message>
    <message>
        <source>画像 %1</source>
        <translation>Picture %1</translation>
    </message>
    <message>
        <source>音声 %1</source>
        <translation>Sound %1</translation>
    </message>
    <message>
        <source>受信したデータが受信フォルダの外のファイルを参照していたため、次の参照を外しました。
%1</source>
        <translation>The received data referred to files outside its own folder; these references were removed:
%1</translation>
    </message>
    <message>
        <source>ほか %1 件</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <source>コピーデータが壊れているため、ページを追加できません</source>
        <translation>The copy data is damaged, so no pages can be added</translation>
    </message>
    <message>
        <source>%1 は破損したファイルのため、上書きできません。
別の名前で保存してください。</source>
        <translation>%1 is a damaged file and cannot be overwritten.
Save under another name.</translation>
    </message>
    <message>
        <source>テキスト %1</source>
        <translation>text %1</translation>
    </message>
    <message>
        <source>テキスト %1 のセクション [#%2]</source>
        <translation>section [#%2] of text %1</translation>
    </message>
    <message>
        <source>ページ %1 のアイテム %2 はページの外にあります</source>
        <translation>Item %2 of page %1 lies outside the page</translation>
    </message>
    <message>
        <source>ページ %1 のアイテム %2 はページからはみ出しています</source>
        <translation>Item %2 of page %1 reaches outside the page</translation>
    </message>
    <message>
        <source>ページ %1 のアイテム %2 の文字が枠に収まりません</source>
        <translation>The text of item %2 of page %1 does not fit the item</translation>
    </message>
    <message>
        <source>ページ %1 のアイテム %2 の%3が枠に収まりません</source>
        <translation>The %3 of item %2 of page %1 does not fit the item</translation>
    </message>
    <message>
        <source>ページ %1 のアイテム %2 の文字がタイトルセーフ（余白 %3 %）の外にかかっています</source>
        <translation>The text of item %2 of page %1 reaches outside the title-safe area (%3 % margin)</translation>
    </message>
    <message>
        <source>ページ %1 のアイテム %2 の画像 %3（%4）が枠より大きく、切れて表示されます</source>
        <translation>Picture %3 (%4) of item %2 of page %1 is larger than the item and is cut</translation>
    </message>
    <message>
        <source>ページ %1 のアイテム %2 の JPEG %3（%4）は枠に合わせて拡大縮小されます</source>
        <translation>JPEG %3 (%4) of item %2 of page %1 is scaled to the item</translation>
    </message>
    <message>
        <source>ページ %1 のアイテム %2 の文字と下地のコントラストが %3 で、%4 に足りません</source>
        <translation>The text of item %2 of page %1 has a contrast of %3 against its ground, less than %4</translation>
    </message>
    <message>
        <source>使用サイズ %1 KB は上限 %2 KB の %3 % です。大きいファイル: %4</source>
        <translation>The used size %1 KB is %3 % of the limit %2 KB. Largest files: %4</translation>
    </message>
    <message>
        <source>ページ %1 のアイテム %2 の JPEG %3（%4）は 1/%5 に縮小して表示されます</source>
        <translation>JPEG %3 (%4) of item %2 of page %1 is shown reduced to 1/%5</translation>
    </message>
</context>
<context>
    <name>orin::CAboutDialog</name>
    <message>
        <source>バージョン情報 </source>
        <translation>About </translation>
    </message>
</context>
<context>
    <name>orin::CComparePanel</name>
    <message>
        <source>比較するファイルを「ファイル」メニューの「比較...」で選んでください</source>
        <translation>Choose the file to compare with File &gt; “Compare...”</translation>
    </message>
    <message>
        <source>前（ファイル）</source>
        <translation>Before (the file)</translation>
    </message>
    <message>
        <source>後（開いている内容）</source>
        <translation>After (the open content)</translation>
    </message>
    <message>
        <source>%1 と開いている内容に違いはありません</source>
        <translation>%1 and the open content do not differ</translation>
    </message>
    <message>
        <source>%1（前）から開いている内容（後）への変更: ページ %2、レコード %3、設定 %4</source>
        <translation>Changes from %1 (before) to the open content (after): %2 pages, %3 records, %4 settings</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>ページ %1: 追加</source>
        <translation>Page %1: added</translation>
    </message>
    <message>
        <source>ページ %1: 削除</source>
        <translation>Page %1: removed</translation>
    </message>
    <message>
        <source>ページ %1→%2</source>
        <translation>Page %1→%2</translation>
    </message>
    <message>
        <source>ページ %1</source>
        <translation>Page %1</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>changed</translation>
    </message>
    <message>
        <source>番号変更</source>
        <translation>renumbered</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>moved</translation>
    </message>
    <message>
        <source>レコード</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>（このページはありません）</source>
        <translation>(no such page)</translation>
    </message>
    <message>
        <source>設定</source>
        <comment>where a change of the program settings is, in a line of changes</comment>
        <translation>settings</translation>
    </message>
    <message>
        <source>ページ %1</source>
        <comment>a page in a line of changes</comment>
        <translation>page %1</translation>
    </message>
    <message>
        <source>ページ %1→%2</source>
        <comment>a page in a line of changes</comment>
        <translation>page %1-&gt;%2</translation>
    </message>
    <message>
        <source>%1 のアイテム %2</source>
        <translation>%1 item %2</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <comment>a record: its table and id</comment>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>%1 %2→%3</source>
        <comment>a record: its table, old id and new id</comment>
        <translation>%1 %2-&gt;%3</translation>
    </message>
    <message>
        <source>素材</source>
        <translation>material</translation>
    </message>
    <message>
        <source>画像</source>
        <translation>picture</translation>
    </message>
    <message>
        <source>テキスト</source>
        <translation>text</translation>
    </message>
    <message>
        <source>チャンネル</source>
        <translation>channel</translation>
    </message>
    <message>
        <source>ウェブページ</source>
        <translation>webpage</translation>
    </message>
    <message>
        <source>マクロ</source>
        <translation>macro</translation>
    </message>
    <message>
        <source>音声</source>
        <translation>sound</translation>
    </message>
    <message>
        <source>ファンクション</source>
        <translation>function</translation>
    </message>
    <message>
        <source>%1 の %2: %3 → %4</source>
        <translation>%1 %2: %3 -&gt; %4</translation>
    </message>
    <message>
        <source>%1 の %2: %3</source>
        <translation>%1 %2: %3</translation>
    </message>
    <message>
        <source>%1: %2 番目に追加</source>
        <translation>%1: added at position %2</translation>
    </message>
    <message>
        <source>%1: %2 番目から削除</source>
        <translation>%1: removed from position %2</translation>
    </message>
    <message>
        <source>%1: 番号を %2 から %3 に変更</source>
        <translation>%1: renumbered %2 -&gt; %3</translation>
    </message>
    <message>
        <source>%1: %2 番目から %3 番目に移動</source>
        <translation>%1: moved from position %2 to %3</translation>
    </message>
    <message>
        <source>%1: (%2,%3) に %4×%5 で追加</source>
        <translation>%1: added at (%2,%3) %4x%5</translation>
    </message>
    <message>
        <source>%1: (%2,%3) の %4×%5 を削除</source>
        <translation>%1: removed from (%2,%3) %4x%5</translation>
    </message>
    <message>
        <source>%1: (%2,%3) から (%4,%5) に移動</source>
        <translation>%1: moved (%2,%3) -&gt; (%4,%5)</translation>
    </message>
    <message>
        <source>%1: 大きさを %2×%3 から %4×%5 に変更</source>
        <translation>%1: resized %2x%3 -&gt; %4x%5</translation>
    </message>
    <message>
        <source>%1: 追加</source>
        <comment>a record added</comment>
        <translation>%1: added</translation>
    </message>
    <message>
        <source>%1: 削除</source>
        <comment>a record removed</comment>
        <translation>%1: removed</translation>
    </message>
</context>
<context>
    <name>orin::CDesignViewMenu</name>
    <message>
        <source>デザイン: スナップ</source>
        <translation>Design: Snap</translation>
    </message>
    <message>
        <source>デザイン: グリッド間隔</source>
        <translation>Design: Grid Spacing</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>デザイン: 全体表示 (100%)</source>
        <translation>Design: Fit to Window (100%)</translation>
    </message>
    <message>
        <source>デザイン: 整列</source>
        <translation>Design: Align</translation>
    </message>
    <message>
        <source>デザイン: セーフエリアを表示</source>
        <translation>Design: Show Safe Areas</translation>
    </message>
    <message>
        <source>デザイン: タイトルセーフの余白</source>
        <translation>Design: Title-Safe Margin</translation>
    </message>
</context>
<context>
    <name>orin::CDlgAction</name>
    <message>
        <source>ページ番号（マクロ）</source>
        <translation>Page number (macro)</translation>
    </message>
    <message>
        <source>タイマー値</source>
        <translation>Timer value</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>orin::CDlgColorMap</name>
    <message>
        <source>～</source>
        <translation>-</translation>
    </message>
    <message>
        <source>編集範囲変更</source>
        <translation>Change range</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>orin::CDlgFTPNET</name>
    <message>
        <source>データ放送サーバ Networkアクセス</source>
        <translation>Data broadcast server, network access</translation>
    </message>
    <message>
        <source>サーバーIP Address：</source>
        <translation>Server IP address:</translation>
    </message>
</context>
<context>
    <name>orin::CDlgFTPWEB</name>
    <message>
        <source>FTPサーバ （BML用Webアクセス）</source>
        <translation>FTP server (web access for BML)</translation>
    </message>
    <message>
        <source>サーバーIP Address：</source>
        <translation>Server IP address:</translation>
    </message>
    <message>
        <source>書込みフォルダ</source>
        <translation>Upload folder</translation>
    </message>
</context>
<context>
    <name>orin::CDlgGText</name>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>orin::CDlgItemProp</name>
    <message>
        <source>アイテムID</source>
        <translation>Item ID</translation>
    </message>
    <message>
        <source>テキスト色</source>
        <translation>Text colour</translation>
    </message>
    <message>
        <source>テキストサイズ</source>
        <translation>Text size</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>Background colour</translation>
    </message>
    <message>
        <source>文字フォント
(WorWrap)</source>
        <translation>Font
(WordWrap)</translation>
    </message>
    <message>
        <source>専用アイテム</source>
        <translation>Special item</translation>
    </message>
    <message>
        <source>アクション(決定)</source>
        <translation>Action (Enter)</translation>
    </message>
    <message>
        <source>マージン</source>
        <translation>Margin</translation>
    </message>
    <message>
        <source>座標系はハイビジョン1920×1080(1080×1920）の半分の値になります。</source>
        <translation>Coordinates are half those of HD 1920×1080 (1080×1920).</translation>
    </message>
    <message>
        <source>画像のサイズはWidth,Heightの2倍の値になります。</source>
        <translation>The picture size is twice Width and Height.</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>orin::CDlgNetwork</name>
    <message>
        <source>アクセス先</source>
        <translation>Destination</translation>
    </message>
    <message>
        <source>ダイレクトTS伝送</source>
        <translation>Direct TS transmission</translation>
    </message>
    <message>
        <source>変調器IP Address：</source>
        <translation>Modulator IP address:</translation>
    </message>
    <message>
        <source>タイプ</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>dボタンでデータ放送に移る</source>
        <translation>The d button goes to data broadcast</translation>
    </message>
    <message>
        <source>SDメモリ書込み（書込み後、チェックはクリアされます）</source>
        <translation>Write to SD memory (the check is cleared after writing)</translation>
    </message>
    <message>
        <source>NULLビデオ出力(注意：映像がない場合のみ)</source>
        <translation>NULL video output (caution: only when there is no video)</translation>
    </message>
    <message>
        <source>制御ソフト経由伝送</source>
        <translation>Transmission through the control software</translation>
    </message>
    <message>
        <source>制御ソフト IP Address：</source>
        <translation>Control software IP address:</translation>
    </message>
    <message>
        <source>制御ソフト FTP port：</source>
        <translation>Control software FTP port:</translation>
    </message>
    <message>
        <source>データ放送サーバー経由伝送</source>
        <translation>Transmission through the data broadcast server</translation>
    </message>
    <message>
        <source>データ放送サーバー IP Address：</source>
        <translation>Data broadcast server IP address:</translation>
    </message>
    <message>
        <source>データ放送サーバー FTP port：</source>
        <translation>Data broadcast server FTP port:</translation>
    </message>
    <message>
        <source>ユーザー名：</source>
        <translation>User name:</translation>
    </message>
    <message>
        <source>パスワード：</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>PID番号：0x</source>
        <translation>PID: 0x</translation>
    </message>
    <message>
        <source>FTPサーバー：</source>
        <translation>FTP server:</translation>
    </message>
</context>
<context>
    <name>orin::CDlgOnline</name>
    <message>
        <source>最新データ</source>
        <translation>Latest data</translation>
    </message>
    <message>
        <source>日時指定</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>チャンネルリスト</source>
        <translation>Channel List</translation>
    </message>
</context>
<context>
    <name>orin::CDlgPageProp</name>
    <message>
        <source>ページID</source>
        <translation>Page ID</translation>
    </message>
    <message>
        <source>ページタイマー値</source>
        <translation>Page timer value</translation>
    </message>
    <message>
        <source>秒後に次のページに遷移します
（０のときは遷移しません）</source>
        <translation>seconds until the next page
(0: stays on the page)</translation>
    </message>
    <message>
        <source>次のページID</source>
        <translation>Next page ID</translation>
    </message>
    <message>
        <source>（０はストップ）</source>
        <translation>(0 stops)</translation>
    </message>
    <message>
        <source>-------------------------&#x3000;テキスト出力------------------------------------</source>
        <translation>------------------------- Text output ------------------------------------</translation>
    </message>
    <message>
        <source>マーキー</source>
        <translation>Marquee</translation>
    </message>
    <message>
        <source>（０は未指定）</source>
        <translation>(0: not set)</translation>
    </message>
    <message>
        <source>スピード</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>（0、1～12）</source>
        <translation>(0, 1-12)</translation>
    </message>
    <message>
        <source>プッシュテキスト
(アイテムタイマー)</source>
        <translation>Push text
(item timer)</translation>
    </message>
    <message>
        <source>（秒間隔）</source>
        <translation>(interval in seconds)</translation>
    </message>
    <message>
        <source>-------------------------&#x3000;詳細 (リモート管理用) ------------------------------------</source>
        <translation>------------------------- Details (remote control) ------------------------------------</translation>
    </message>
    <message>
        <source>カーソルフォーカス</source>
        <translation>Cursor focus</translation>
    </message>
    <message>
        <source>カーソルカラー</source>
        <translation>Cursor colour</translation>
    </message>
    <message>
        <source>戻るキー</source>
        <translation>Back key</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>orin::CDlgPanel</name>
    <message>
        <source>リモコンパネル</source>
        <translation>Remote Control</translation>
    </message>
    <message>
        <source>連動</source>
        <translation>Linked</translation>
    </message>
    <message>
        <source>ﾀｲﾏｰ</source>
        <translation>Timers</translation>
    </message>
</context>
<context>
    <name>orin::CDlgServer</name>
    <message>
        <source>放送中データ (エディト中のデータ)</source>
        <translation>Data on air (the data being edited)</translation>
    </message>
    <message>
        <source>ID指定：</source>
        <translation>By ID:</translation>
    </message>
    <message>
        <source>日時指定（すでに放送した同録データ取得）</source>
        <translation>By date and time (recorded data already broadcast)</translation>
    </message>
    <message>
        <source>番組ＩＤ：</source>
        <translation>Programme ID:</translation>
    </message>
    <message>
        <source>現在値セット</source>
        <translation>Set to now</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>orin::CFormList</name>
    <message>
        <source>ページ</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>画像変更...</source>
        <translation>Change Picture...</translation>
    </message>
    <message>
        <source>リナンバリング</source>
        <translation>Renumber</translation>
    </message>
    <message>
        <source>ページ属性...</source>
        <translation>Page Properties...</translation>
    </message>
    <message>
        <source>編集／デザインモード切替</source>
        <translation>Switch Edit/Design Mode</translation>
    </message>
    <message>
        <source>ページ削除</source>
        <translation>Delete Page</translation>
    </message>
</context>
<context>
    <name>orin::CMainFrame</name>
    <message>
        <source>%1 に書き込めません。</source>
        <translation>Cannot write %1.</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>サーバーから取得(&amp;G)...</source>
        <translation>&amp;Get from Server...</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>ポータブル保存(&amp;P)...</source>
        <translation>&amp;Portable Save...</translation>
    </message>
    <message>
        <source>アプリケーションの終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>切り取り(&amp;T)</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>編集／デザインモード切替</source>
        <translation>Switch Edit/Design Mode</translation>
    </message>
    <message>
        <source>データスリム化...</source>
        <translation>Slim Data...</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>ステータス バー(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>ネットワーク(&amp;N)</source>
        <translation>&amp;Network</translation>
    </message>
    <message>
        <source>伝送実行(&amp;G)</source>
        <translation>Trans&amp;mit</translation>
    </message>
    <message>
        <source>ネットワーク設定(&amp;N)</source>
        <translation>&amp;Network Settings</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>拡張子関連付け</source>
        <translation>Associate File Types</translation>
    </message>
    <message>
        <source>バージョン情報 OrinEditContents(&amp;A)...</source>
        <translation>&amp;About OrinEditContents...</translation>
    </message>
    <message>
        <source>次のウィンドウ</source>
        <translation>Next Pane</translation>
    </message>
    <message>
        <source>前のウィンドウ</source>
        <translation>Previous Pane</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>最近使ったファイル</source>
        <translation>Recent Files</translation>
    </message>
    <message>
        <source>ツール バー</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>伝送チャンネル</source>
        <translation>Transmission channel</translation>
    </message>
    <message>
        <source>ナビゲーションマップ</source>
        <translation>Navigation Map</translation>
    </message>
    <message>
        <source>アクショントレース</source>
        <translation>Action Trace</translation>
    </message>
    <message>
        <source>.bjpx・.bjp ファイルをこのプログラムに関連付けました（%1）</source>
        <translation>.bjpx and .bjp files are now opened with this program (%1)</translation>
    </message>
    <message>
        <source>拡張子関連付けができません：%1 に書き込めません</source>
        <translation>The file association failed: %1 cannot be written</translation>
    </message>
    <message>
        <source>%1 には設定するネットワーク接続がありません</source>
        <translation>%1 has no network connection to set</translation>
    </message>
    <message>
        <source>サンプルを開く</source>
        <translation>Open Sample</translation>
    </message>
    <message>
        <source>Web用に書き出し(&amp;W)...</source>
        <translation>Export for &amp;Web...</translation>
    </message>
    <message>
        <source>ブラウザでプレビュー(&amp;B)</source>
        <translation>Preview in &amp;Browser</translation>
    </message>
    <message>
        <source>読み込めないファイルは代わりの画像で書き出しました。
%1</source>
        <translation>Files that cannot be read were exported as the placeholder picture.
%1</translation>
    </message>
    <message>
        <source>Web用に書き出し</source>
        <translation>Export for Web</translation>
    </message>
    <message>
        <source>Web用に書き出せませんでした</source>
        <translation>Could not export for the web</translation>
    </message>
    <message>
        <source>Web用に書き出せません。
%1</source>
        <translation>Cannot export for the web.
%1</translation>
    </message>
    <message>
        <source>Web用に書き出しました: %1</source>
        <translation>Exported for the web: %1</translation>
    </message>
    <message>
        <source>ブラウザでプレビューできませんでした</source>
        <translation>Could not preview in the browser</translation>
    </message>
    <message>
        <source>ブラウザでプレビューを開きました: %1</source>
        <translation>Opened the preview in the browser: %1</translation>
    </message>
    <message>
        <source>ブラウザを起動できません: %1</source>
        <translation>Cannot start the browser: %1</translation>
    </message>
    <message>
        <source>Web用に書き出し（新しいフォルダ名）</source>
        <translation>Export for Web (name of a new folder)</translation>
    </message>
    <message>
        <source>フォルダ</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>比較</source>
        <translation>Compare</translation>
    </message>
    <message>
        <source>比較するファイル</source>
        <translation>File to Compare</translation>
    </message>
    <message>
        <source>%1
このファイルは破損しているため、比較できません。</source>
        <translation>%1
This file is damaged and cannot be compared.</translation>
    </message>
    <message>
        <source>比較(&amp;C)...</source>
        <translation>&amp;Compare...</translation>
    </message>
</context>
<context>
    <name>orin::CNavigationMap</name>
    <message>
        <source>問題: 参照切れ %1、警告 %2</source>
        <translation>Problems: %1 broken references, %2 warnings</translation>
    </message>
    <message>
        <source>レイアウトを確認中…</source>
        <translation>Checking the layout…</translation>
    </message>
</context>
<context>
    <name>orin::CNetworkDialog</name>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>orin::CPageListModel</name>
    <message>
        <source>画像</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>ｺﾒﾝﾄ</source>
        <translation>Comment</translation>
    </message>
</context>
<context>
    <name>orin::CTracePanel</name>
    <message>
        <source>タイマー一時停止</source>
        <translation>Pause Timers</translation>
    </message>
    <message>
        <source>1ティック進める</source>
        <translation>Step 1 Tick</translation>
    </message>
    <message>
        <source>クリア</source>
        <translation>Clear</translation>
    </message>
</context>
</TS>
