#include "setup_messages.h"

namespace {

struct Texts {
    Message id;
    const wchar_t* english;
    const wchar_t* japanese;
};

const Texts Catalogue[] = {
    {Message::NotFound, L"not found", L"見つかりません"},
    {Message::Unreadable, L"cannot be read (error {0})", L"読み込めません (エラー {0})"},
    {Message::NotImage, L"not a Windows DLL", L"Windows の DLL ではありません"},
    {Message::Damaged, L"a damaged or incomplete DLL", L"壊れているか不完全な DLL です"},
    {Message::NotDriver, L"not a tuner driver (it does not export CreateBonDriver)",
     L"チューナードライバーではありません (CreateBonDriver をエクスポートしていません)"},
    {Message::Plain, L"tuner driver ({0}), not wrapped",
     L"チューナードライバー ({0})、ラップされていません"},
    {Message::Wrapped, L"wrapped: Quellap {0} ({1}) in front of {2} ({3})",
     L"ラップ済み: Quellap {0} ({1}) が {2} ({3}) の前にあります"},
    {Message::Mismatch,
     L"mismatch: Quellap {0} ({1}) in front of {2} ({3}); the TV program cannot load it "
     L"(run update)",
     L"不一致: Quellap {0} ({1}) が {2} ({3}) の前にあり、TV プログラムは読み込めません "
     L"(update を実行してください)"},
    {Message::BrokenDriver,
     L"Quellap {0} ({1}) in front of {2}, which is not a usable tuner driver",
     L"Quellap {0} ({1}) の後ろの {2} は使えるチューナードライバーではありません"},
    {Message::WrapperAlone, L"Quellap {0} wrapper ({1}) without its driver {2}",
     L"Quellap {0} のラッパー ({1}) ですが、ドライバー {2} がありません"},
    {Message::HalfDone,
     L"half-done: {0} ({1}) has nothing under its old name (wrap finishes, unwrap undoes)",
     L"途中の状態: {0} ({1}) の元の名前のファイルがありません (wrap で完了、unwrap で元に戻ります)"},
    {Message::FolderEmpty, L"no *.dll or *_Quellapped.dl_ file here",
     L"*.dll や *_Quellapped.dl_ のファイルがありません"},
    {Message::Leftover,
     L"left by an interrupted QuellapSetup; the next wrap, unwrap or update in this folder "
     L"removes it",
     L"中断された QuellapSetup が残したファイルです。このフォルダーで次に wrap、unwrap、update を"
     L"実行すると削除します"},
    {Message::WrapDone, L"wrapped: Quellap {0} ({1}) installed, the driver renamed to {2}",
     L"ラップしました: Quellap {0} ({1}) を入れ、ドライバーを {2} に名前変更しました"},
    {Message::WrapFinished, L"finished: Quellap {0} ({1}) installed in front of {2}",
     L"完了しました: Quellap {0} ({1}) を {2} の前に入れました"},
    {Message::WrapSettings, L"already wrapped (Quellap {0}); settings file copied to {1}",
     L"ラップ済み (Quellap {0}) です。設定ファイルを {1} にコピーしました"},
    {Message::UnwrapDone, L"unwrapped: the driver has its name back, Quellap {0} removed",
     L"ラップを外しました: ドライバーを元の名前に戻し、Quellap {0} を削除しました"},
    {Message::UnwrapFinished, L"undone: the driver has its name back",
     L"元に戻しました: ドライバーの名前を戻しました"},
    {Message::UnwrapCopyLeft,
     L"not wrapped; only the settings copy was left (by an interrupted unwrap, say)",
     L"ラップされていません。設定ファイルのコピーだけが残っていました (中断された unwrap など)"},
    {Message::UpdateDone, L"updated: Quellap {0} ({1}) replaced by {2} ({3})",
     L"更新しました: Quellap {0} ({1}) を {2} ({3}) に置き換えました"},
    {Message::UpToDate, L"up to date: Quellap {0} ({1})", L"最新です: Quellap {0} ({1})"},
    {Message::LeftoverRemoved, L"removed: left by an interrupted QuellapSetup",
     L"削除しました: 中断された QuellapSetup が残したファイルです"},
    {Message::LeftoverKept,
     L"left by an interrupted QuellapSetup, but it cannot be removed (error {0}); unless "
     L"QuellapSetup is running, delete it by hand",
     L"中断された QuellapSetup が残したファイルですが、削除できません (エラー {0})。"
     L"QuellapSetup を実行中でなければ手作業で削除してください"},
    {Message::RefuseFolder,
     L"refused: a folder; name the driver files (status and update take folders)",
     L"中止: フォルダーです。ドライバーのファイルを指定してください (フォルダーを指定できるのは "
     L"status と update です)"},
    {Message::RefuseNotFound, L"refused: not found", L"中止: 見つかりません"},
    {Message::RefuseUnreadable, L"refused: {0} cannot be read (error {1})",
     L"中止: {0} を読み込めません (エラー {1})"},
    {Message::RefuseNotImage, L"refused: not a Windows DLL", L"中止: Windows の DLL ではありません"},
    {Message::RefuseDamaged, L"refused: a damaged or incomplete DLL",
     L"中止: 壊れているか不完全な DLL です"},
    {Message::RefuseNotDriver, L"refused: not a tuner driver (it does not export CreateBonDriver)",
     L"中止: チューナードライバーではありません (CreateBonDriver をエクスポートしていません)"},
    {Message::RefuseAlreadyWrapped,
     L"refused: already wrapped (Quellap {0}); update installs another version",
     L"中止: 既にラップされています (Quellap {0})。別のバージョンにするには update を使います"},
    {Message::RefuseWrapperAlone, L"refused: a Quellap wrapper without its driver {0}",
     L"中止: Quellap のラッパーですが、ドライバー {0} がありません"},
    {Message::RefuseBrokenDriver, L"refused: {0} is not a usable tuner driver",
     L"中止: {0} は使えるチューナードライバーではありません"},
    {Message::RefuseNoWrapper, L"refused: the driver is {0}, and {1} is missing or not a Quellap "
                               L"wrapper for {0}",
     L"中止: ドライバーは {0} 用ですが、{1} がないか {0} 用の Quellap ラッパーではありません"},
    {Message::RefuseOtherMachine,
     L"refused: the driver is {0}; Quellap exists for x86 and x64 only",
     L"中止: ドライバーは {0} 用です。Quellap は x86 用と x64 用だけです"},
    {Message::RefuseTargetExists, L"refused: {0} already exists", L"中止: {0} が既にあります"},
    {Message::RefuseNotWritable,
     L"refused: the folder is not writable (error {0}); for folders such as Program Files run "
     L"QuellapSetup from an elevated prompt (Run as administrator)",
     L"中止: フォルダーに書き込めません (エラー {0})。Program Files などのフォルダーでは、"
     L"管理者として実行したコマンド プロンプトから QuellapSetup を実行してください"},
    {Message::RefusePathTooLong,
     L"refused: the path without its extension has {0} characters; the wrapper allows {1}",
     L"中止: 拡張子を除いたパスが {0} 文字あります。ラッパーが扱えるのは {1} 文字までです"},
    {Message::RefuseNotWrapped, L"refused: not wrapped", L"中止: ラップされていません"},
    {Message::RefuseInUse,
     L"refused: {0} is in use (error {1}); close the TV program and try again",
     L"中止: {0} は使用中です (エラー {1})。TV プログラムを閉じてからやり直してください"},
    {Message::RefuseReadOnly,
     L"refused: {0} is read-only (error {1}); clear Read-only in its Properties and try again",
     L"中止: {0} は読み取り専用です (エラー {1})。プロパティで「読み取り専用」のチェックを外して"
     L"からやり直してください"},
    {Message::RefuseDenied,
     L"refused: the security settings of {0} or of its folder deny the change (error {1}); run "
     L"QuellapSetup from an elevated prompt (Run as administrator) or allow it under "
     L"Properties, Security",
     L"中止: {0} またはそのフォルダーのセキュリティ設定が変更を拒否しています (エラー {1})。"
     L"管理者として実行したコマンド プロンプトから QuellapSetup を実行するか、プロパティの"
     L"「セキュリティ」で許可してください"},
    {Message::FailedRename, L"failed: renaming {0} to {1} (error {2})",
     L"失敗: {0} から {1} への名前変更 (エラー {2})"},
    {Message::FailedCreate, L"failed: writing {0} (error {1})", L"失敗: {0} の書き込み (エラー {1})"},
    {Message::FailedDelete, L"failed: deleting {0} (error {1})", L"失敗: {0} の削除 (エラー {1})"},
    {Message::NoteSettingsNotCopied, L"settings file {0} not copied to {1} (wrap copies it)",
     L"設定ファイル {0} が {1} にコピーされていません (wrap でコピーします)"},
    {Message::NoteRenamedToo, L"{0} exists too", L"{0} もあります"},
    {Message::NoteNameCut, L"the source name is cut to its first {0} characters",
     L"ソース名は先頭の {0} 文字に切り詰められます"},
    {Message::NoteSettingsCopied, L"settings file copied to {0}",
     L"設定ファイルを {0} にコピーしました"},
    {Message::NoteSettingsLeft, L"{0} exists and was left alone", L"{0} は既にあるのでそのままです"},
    {Message::NoteCopyRemoved, L"{0} removed (the same as {1})",
     L"{0} を削除しました ({1} と同じ内容)"},
    {Message::NoteCopyKept, L"{0} kept: it differs from {1}",
     L"{0} は {1} と内容が違うので残しました"},
    {Message::NoteCopyKeptAlone, L"{0} kept: there is no {1}, which the driver reads from now on",
     L"{1} がないので {0} は残しました (ドライバーはこれから {1} を読みます)"},
    {Message::NoteNothingChanged, L"nothing was changed", L"何も変更していません"},
    {Message::NoteUndoRenameFailed,
     L"NOT put back: renaming {0} to {1} failed (error {2}), please rename it by hand",
     L"元に戻せませんでした: {0} から {1} への名前変更に失敗しました (エラー {2})。"
     L"手作業で名前を変えてください"},
    {Message::NoteUndoCreateFailed,
     L"NOT put back: writing {0} failed (error {1}), please copy it from the package",
     L"元に戻せませんでした: {0} の書き込みに失敗しました (エラー {1})。"
     L"パッケージからコピーしてください"},
    {Message::NoteUndoDeleteFailed,
     L"NOT put back: deleting {0} failed (error {1}), please delete it by hand",
     L"元に戻せませんでした: {0} の削除に失敗しました (エラー {1})。手作業で削除してください"},
    {Message::NoteLoadedUntilRestart,
     L"{0} is loaded by a running program, which uses the wrapper from its next start",
     L"{0} は実行中のプログラムが読み込んでいます。そのプログラムは次に起動したときから"
     L"ラッパーを使います"},
    {Message::NoteCopyDiffers,
     L"{0} exists and is not the same as {1}: left alone, and the driver reads it from now on",
     L"{0} は既にあり {1} と内容が違いますが、そのままにしました (ドライバーはこれから {0} を"
     L"読みます)"},
    {Message::NoteCopyUnread, L"{0} kept: {1} could not be read (error {2}) to compare the two",
     L"{1} を読み込めなかったので (エラー {2}) 比べられず、{0} は残しました"},
    {Message::NoteCopyLeftOver, L"{0} is left over; unwrap removes it if it is the same as {1}",
     L"{0} が残っています ({1} と同じ内容なら unwrap で削除します)"},
};
static_assert(sizeof Catalogue / sizeof *Catalogue == size_t(Message::Count),
              "one entry per message");

const wchar_t EnglishUsage[] =
    L"QuellapSetup {0}: puts the Quellap wrapper in front of tuner drivers and takes it away.\n"
    L"Usage: QuellapSetup [--from FOLDER] [--lang en|ja] VERB PATH...\n"
    L"  status PATH...    what each driver file, or each driver in a folder, is\n"
    L"  wrap DRIVER...    BonDriver_X.dll becomes BonDriver_X_Quellapped.dl_, the wrapper of its\n"
    L"                    machine becomes BonDriver_X.dll, and BonDriver_X.ini is copied to\n"
    L"                    BonDriver_X_Quellapped.ini\n"
    L"  unwrap DRIVER...  removes the wrapper and gives the driver its name back\n"
    L"  update PATH...    replaces installed wrappers of another version with this package's\n"
    L"  PATH...           (no verb: files dropped on QuellapSetup) wraps plain drivers, tells\n"
    L"                    the status of the rest, then waits for Enter in a window of its own\n"
    L"  --from FOLDER     takes the wrappers from FOLDER\\x86 and FOLDER\\x64 instead of the\n"
    L"                    folders beside QuellapSetup.exe\n"
    L"  --lang en|ja      English or Japanese messages (default: the user's language)\n"
    L"Exit status: 0 when everything asked was done or nothing needed doing, 1 when anything\n"
    L"was refused or failed, 2 for a usage error.\n";

const wchar_t JapaneseUsage[] =
    L"QuellapSetup {0}: チューナードライバーの前に Quellap のラッパーを入れ、また外します。\n"
    L"使い方: QuellapSetup [--from フォルダー] [--lang en|ja] 動作 パス...\n"
    L"  status パス...        ドライバーのファイル (フォルダーならその中のドライバー) の状態\n"
    L"  wrap ドライバー...    BonDriver_X.dll を BonDriver_X_Quellapped.dl_ に名前変更し、同じ\n"
    L"                        マシン用のラッパーを BonDriver_X.dll として入れ、BonDriver_X.ini\n"
    L"                        を BonDriver_X_Quellapped.ini にコピーします\n"
    L"  unwrap ドライバー...  ラッパーを削除し、ドライバーの名前を元に戻します\n"
    L"  update パス...        入っている別バージョンのラッパーをこのパッケージのものに替えます\n"
    L"  パス...               (動作なし: QuellapSetup にファイルをドロップしたとき) ラップされて\n"
    L"                        いないドライバーをラップし、ほかは状態を表示して、専用の\n"
    L"                        ウィンドウなら Enter を待ちます\n"
    L"  --from フォルダー     ラッパーを QuellapSetup.exe の横ではなく フォルダー\\x86 と\n"
    L"                        フォルダー\\x64 から取ります\n"
    L"  --lang en|ja          英語か日本語で表示します (既定: ユーザーの表示言語)\n"
    L"終了コード: 0 指示どおりにすべて済んだか何もする必要がなかった、1 中止または失敗があった、\n"
    L"2 使い方の誤り。\n";

}  // namespace

std::wstring FillIn(const wchar_t* pattern, const std::vector<std::wstring>& args)
{
    std::wstring text;
    for (const wchar_t* p = pattern; *p; ++p) {
        if (p[0] == L'{' && p[1] >= L'0' && p[1] <= L'9' && p[2] == L'}') {
            const size_t index = size_t(p[1] - L'0');
            if (index < args.size()) text += args[index];
            p += 2;
        } else {
            text += *p;
        }
    }
    return text;
}

std::wstring FormatReport(const FileReport& report, bool japanese)
{
    const auto text = [&](const ReportLine& line) {
        for (const Texts& texts : Catalogue) {
            if (texts.id != line.id) continue;
            return FillIn(japanese ? texts.japanese : texts.english, line.args);
        }
        return std::wstring();
    };
    std::wstring line = report.path + L": " + text(report.result);
    for (const ReportLine& note : report.notes) line += (japanese ? L"。" : L"; ") + text(note);
    return line;
}

std::wstring UsageText(const std::wstring& version, bool japanese)
{
    return FillIn(japanese ? JapaneseUsage : EnglishUsage, {version});
}

std::wstring PressEnterText(bool japanese)
{
    return japanese ? L"Enter キーを押すと閉じます。" : L"Press Enter to close.";
}
