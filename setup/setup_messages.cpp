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
    {Message::ServiceInstalled, L"installed and running: {0}", L"インストールして開始しました: {0}"},
    {Message::ServiceAlreadyRunning, L"already installed and running: {0}",
     L"インストール済みで、実行中です: {0}"},
    {Message::ServiceAlreadyStarted, L"already installed; started: {0}",
     L"インストール済みでした。開始しました: {0}"},
    {Message::ServiceRemoved,
     L"stopped (the clock handed back to Windows) and removed with its event source; Event "
     L"Viewer no longer words its old events",
     L"停止し (時計は Windows に戻りました)、イベント ソースとともに削除しました。イベント "
     L"ビューアーは以前のイベントの文面を表示できなくなります"},
    {Message::ServiceNotInstalled, L"not installed", L"インストールされていません"},
    {Message::ServiceRunning, L"running", L"実行中"},
    {Message::ServiceStopped, L"stopped", L"停止"},
    {Message::ServiceStarting, L"starting", L"開始中"},
    {Message::ServiceStopping, L"stopping", L"停止中"},
    {Message::ServiceOtherState, L"neither running nor stopped", L"実行中でも停止でもありません"},
    {Message::EventInformation, L"event {0}: {1}", L"イベント {0}: {1}"},
    {Message::EventWarning, L"warning {0}: {1}", L"警告 {0}: {1}"},
    {Message::EventError, L"error {0}: {1}", L"エラー {0}: {1}"},
    {Message::RefuseNotElevated,
     L"refused: changing services needs an elevated prompt (error {0}); right-click Command "
     L"Prompt, choose Run as administrator, and run QuellapSetup there",
     L"中止: サービスの変更には管理者の権限が必要です (エラー {0})。コマンド プロンプトを右クリック"
     L"して「管理者として実行」で開き、そこで QuellapSetup を実行してください"},
    {Message::RefuseOtherService,
     L"refused: the service {0} is registered with another program: {1}; remove it first "
     L"(QuellapSetup service uninstall)",
     L"中止: サービス {0} は別のプログラムで登録されています: {1}。先に削除してください "
     L"(QuellapSetup service uninstall)"},
    {Message::RefuseProgramNotFound, L"refused: {0} not found", L"中止: {0} が見つかりません"},
    {Message::RefuseNotProgram, L"refused: {0} is not a Windows program",
     L"中止: {0} は Windows のプログラムではありません"},
    {Message::RefuseInProfile,
     L"refused: {0} lies in the user profile {1}, which its user can change; put Horavant.exe "
     L"and Horavant.ini in a folder that only administrators can change, such as {2}\\Quellap",
     L"中止: {0} はユーザー プロファイル {1} の中にあり、そのユーザーが変更できます。Horavant.exe "
     L"と Horavant.ini は {2}\\Quellap のような、管理者だけが変更できるフォルダーに置いてください"},
    {Message::RefuseOthersCanChange,
     L"refused: {1} can change {0}; the service runs as SYSTEM, and whoever can replace its "
     L"program or edit its settings commands the PC or its clock. Put Horavant.exe and "
     L"Horavant.ini in a folder that only administrators can change, such as {2}\\Quellap",
     L"中止: {1} が {0} を変更できます。サービスは SYSTEM として動くので、プログラムを置き換え"
     L"たり設定を書き換えたりできる人は PC やその時計を思いのままにできます。Horavant.exe と "
     L"Horavant.ini は {2}\\Quellap のような、管理者だけが変更できるフォルダーに置いてください"},
    {Message::RefuseSecurityUnread,
     L"refused: the security settings of {0} cannot be read (error {1}), so who can change it "
     L"is not known",
     L"中止: {0} のセキュリティ設定を読み込めないので (エラー {1})、だれが変更できるか分かりません"},
    {Message::FailedServiceManager, L"failed: the service control manager (error {0})",
     L"失敗: サービス コントロール マネージャー (エラー {0})"},
    {Message::FailedCreateService, L"failed: registering the service (error {0})",
     L"失敗: サービスの登録 (エラー {0})"},
    {Message::FailedDescribe, L"failed: setting the service's description (error {0})",
     L"失敗: サービスの説明の設定 (エラー {0})"},
    {Message::FailedEventSource, L"failed: registering the event source (error {0})",
     L"失敗: イベント ソースの登録 (エラー {0})"},
    {Message::FailedStart, L"failed: the service did not start (error {0})",
     L"失敗: サービスが開始しませんでした (エラー {0})"},
    {Message::FailedStop, L"failed: the service did not stop (error {0})",
     L"失敗: サービスが停止しませんでした (エラー {0})"},
    {Message::FailedRemoveEventSource, L"failed: removing the event source (error {0})",
     L"失敗: イベント ソースの削除 (エラー {0})"},
    {Message::FailedDeleteService, L"failed: removing the service (error {0})",
     L"失敗: サービスの削除 (エラー {0})"},
    {Message::NoteNoRestart,
     L"restart after a failure could not be set (error {0}): Windows does not restart the "
     L"service when it fails",
     L"障害時の再起動を設定できませんでした (エラー {0})。サービスが異常終了しても Windows は"
     L"再起動しません"},
    {Message::NoteWindowsTime,
     L"warning: the Windows Time service adjusts the clock too, and each undoes the other's "
     L"work; turn off Set the time automatically (Settings, Time & language)",
     L"警告: Windows Time サービスも時計を調整するので、互いに打ち消し合います。「時刻を自動的に"
     L"設定する」(設定の「時刻と言語」) をオフにしてください"},
    {Message::NoteStartAutomatic, L"automatic start", L"自動開始"},
    {Message::NoteStartDelayed, L"automatic start, delayed", L"自動開始 (遅延)"},
    {Message::NoteStartManual, L"manual start", L"手動開始"},
    {Message::NoteStartDisabled, L"disabled", L"無効"},
    {Message::NoteStartOther, L"another start type", L"その他の開始方法"},
    {Message::NoteCommandLine, L"command line {0}", L"コマンド ライン {0}"},
    {Message::NoteLastExit, L"its last run ended with error {0}", L"前回はエラー {0} で終了しました"},
    {Message::NoteUndoServiceLeft,
     L"NOT put back: the service is still registered (error {0}); QuellapSetup service "
     L"uninstall removes it",
     L"元に戻せませんでした: サービスが登録されたままです (エラー {0})。QuellapSetup service "
     L"uninstall で削除してください"},
    {Message::NoteUndoEventSource, L"NOT put back: the event source (error {0})",
     L"元に戻せませんでした: イベント ソース (エラー {0})"},
    {Message::NoteUndoStart,
     L"NOT put back: the service could not be started again (error {0}); start it in "
     L"Services (services.msc)",
     L"元に戻せませんでした: サービスをもう一度開始できませんでした (エラー {0})。「サービス」"
     L"(services.msc) で開始してください"},
};
static_assert(sizeof Catalogue / sizeof *Catalogue == size_t(Message::Count),
              "one entry per message");

const wchar_t EnglishUsage[] =
    L"QuellapSetup {0}: installs the Quellap wrapper and the Horavant service.\n"
    L"Usage: QuellapSetup [--from FOLDER] [--lang en|ja] VERB PATH...\n"
    L"       QuellapSetup [--from FOLDER] [--lang en|ja] service VERB [PROGRAM]\n"
    L"  status PATH...    what each driver file, or each driver in a folder, is\n"
    L"  wrap DRIVER...    BonDriver_X.dll becomes BonDriver_X_Quellapped.dl_, the wrapper of its\n"
    L"                    machine becomes BonDriver_X.dll, and BonDriver_X.ini is copied to\n"
    L"                    BonDriver_X_Quellapped.ini\n"
    L"  unwrap DRIVER...  removes the wrapper and gives the driver its name back\n"
    L"  update PATH...    replaces installed wrappers of another version with this package's\n"
    L"  PATH...           (no verb: files dropped on QuellapSetup) wraps plain drivers, tells\n"
    L"                    the status of the rest, then waits for Enter in a window of its own\n"
    L"  service install [PROGRAM]\n"
    L"                    registers PROGRAM (default: the package's Horavant.exe for this\n"
    L"                    Windows, x64 or x86) as the service Horavant, which starts with\n"
    L"                    Windows as SYSTEM, and starts it; refused unless only administrators\n"
    L"                    can change the program, its Horavant.ini and their folders\n"
    L"  service status    the service's state, start type, command line and last events\n"
    L"  service uninstall stops the service and removes it\n"
    L"  --from FOLDER     takes the wrappers (and Horavant.exe) from FOLDER\\x86 and FOLDER\\x64\n"
    L"                    instead of the folders beside QuellapSetup.exe\n"
    L"  --lang en|ja      English or Japanese messages (default: the user's language)\n"
    L"Exit status: 0 when everything asked was done or nothing needed doing, 1 when anything\n"
    L"was refused or failed, 2 for a usage error.\n";

const wchar_t JapaneseUsage[] =
    L"QuellapSetup {0}: Quellap のラッパーと Horavant のサービスをインストールします。\n"
    L"使い方: QuellapSetup [--from フォルダー] [--lang en|ja] 動作 パス...\n"
    L"        QuellapSetup [--from フォルダー] [--lang en|ja] service 動作 [プログラム]\n"
    L"  status パス...        ドライバーのファイル (フォルダーならその中のドライバー) の状態\n"
    L"  wrap ドライバー...    BonDriver_X.dll を BonDriver_X_Quellapped.dl_ に名前変更し、同じ\n"
    L"                        マシン用のラッパーを BonDriver_X.dll として入れ、BonDriver_X.ini\n"
    L"                        を BonDriver_X_Quellapped.ini にコピーします\n"
    L"  unwrap ドライバー...  ラッパーを削除し、ドライバーの名前を元に戻します\n"
    L"  update パス...        入っている別バージョンのラッパーをこのパッケージのものに替えます\n"
    L"  パス...               (動作なし: QuellapSetup にファイルをドロップしたとき) ラップされて\n"
    L"                        いないドライバーをラップし、ほかは状態を表示して、専用の\n"
    L"                        ウィンドウなら Enter を待ちます\n"
    L"  service install [プログラム]\n"
    L"                        プログラム (既定: パッケージの、この Windows 用の x64 か x86 の\n"
    L"                        Horavant.exe) を、Windows とともに SYSTEM として開始するサービス\n"
    L"                        Horavant として登録し、開始します。プログラム、その Horavant.ini、\n"
    L"                        それらのフォルダーを管理者以外が変更できるときは中止します\n"
    L"  service status        サービスの状態、開始方法、コマンド ライン、最近のイベント\n"
    L"  service uninstall     サービスを停止して削除します\n"
    L"  --from フォルダー     ラッパー (と Horavant.exe) を QuellapSetup.exe の横ではなく\n"
    L"                        フォルダー\\x86 と フォルダー\\x64 から取ります\n"
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

std::wstring ServiceDescriptionText(bool japanese)
{
    return japanese ? L"デジタル放送の時刻に PC の時計を合わせます (Quellap)。"
                    : L"Keeps the PC's clock in step with the time of digital TV broadcasts "
                      L"(Quellap).";
}

std::wstring PressEnterText(bool japanese)
{
    return japanese ? L"Enter キーを押すと閉じます。" : L"Press Enter to close.";
}
