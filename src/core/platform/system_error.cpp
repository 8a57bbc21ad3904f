#include "core/platform/system_error.h"

#include "core/platform/cp932.h"
#include "core/platform/native_api.h"

namespace numora {

namespace {

constexpr size_t kQuotedChars = 200;

}  // namespace

std::string SystemErrorText(int error) {
  switch (error) {
    case kErrorNotRegularFile:
      return "ファイルではありません（フォルダや装置などがファイルの名前で置かれています）";
    case kErrorFileTooLarge:
      return "ファイルが大きすぎます";
    case kErrorShortFile:
      return "ファイルが途中で終わっています";
    default:
      break;
  }
#ifdef _WIN32
  switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return "ファイルは他のプログラムが使用中です";
    case ERROR_ACCESS_DENIED:
      return "アクセスが拒否されました（読み書きの権限がありません）";
    case ERROR_FILE_NOT_FOUND:
      return "ファイルが見つかりません";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
      return "フォルダが見つかりません";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return "ディスクの空き領域が足りません";
    case ERROR_WRITE_PROTECT:
      return "書き込みが禁止されたドライブです";
    case ERROR_DIRECTORY:
      return "フォルダの名前がまちがっています";
    case ERROR_FILENAME_EXCED_RANGE:
      return "ファイルの名前やパスが長すぎます";
    case ERROR_INVALID_NAME:
      return "ファイルの名前に使えない文字があります";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return "メモリが足りません";
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_SEM_TIMEOUT:
    case ERROR_BAD_NET_NAME:
      return "ネットワークの接続が切れました";
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
      return "このフォルダではファイルをロックできません（共有フォルダの設定を管理者に確かめて"
             "ください）";
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
      return "ディスクの読み書きでエラーが起きました";
    default:
      return "ファイルを扱えません（エラー番号 " + std::to_string(error) + "）";
  }
#else
  switch (error) {
    case EAGAIN:
    case EBUSY:
    case ETXTBSY:
      return "ファイルは他のプログラムが使用中です";
    case EACCES:
    case EPERM:
      return "アクセスが拒否されました（読み書きの権限がありません）";
    case ENOENT:
      return "ファイルまたはフォルダが見つかりません";
    case ENOTDIR:
      return "パスの途中にフォルダではないものがあります";
    case EISDIR:
      return "フォルダです（ファイルではありません）";
    case ELOOP:
      return "シンボリックリンクが循環しています";
    case ENAMETOOLONG:
      return "ファイルの名前やパスが長すぎます";
    case ENOSPC:
    case EDQUOT:
      return "ディスクの空き領域が足りません";
    case EROFS:
      return "書き込みが禁止されたドライブです";
    case EIO:
      return "ディスクの読み書きでエラーが起きました";
    case EFBIG:
    case EOVERFLOW:
      return "ファイルが大きすぎます";
    case ENOMEM:
      return "メモリが足りません";
    case EMFILE:
    case ENFILE:
      return "開いているファイルが多すぎます";
    case ENXIO:
    case ENODEV:
      return "装置が見つかりません";
    case EEXIST:
      return "同じ名前のファイルが既にあります";
    case EXDEV:
      return "別のドライブへは移せません";
    case ESTALE:
    case ENOTCONN:
      return "ネットワークの接続が切れました";
    case EINVAL:
      return "この操作はこのファイルではできません";
    default:
      return "ファイルを扱えません（エラー番号 " + std::to_string(error) + "）";
  }
#endif
}

bool IsSharingConflict(int error, bool whileLocking) {
#ifdef _WIN32
  (void)whileLocking;
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
#else
  // A lock request that meets another's lock fails with EAGAIN or, on some systems, EACCES; at
  // any other moment EACCES means the permissions forbid the access.
  if (whileLocking && error == EACCES) {
    return true;
  }
  return error == EAGAIN || error == EBUSY || error == ETXTBSY;
#endif
}

bool IsMissingFileError(int error) {
#ifdef _WIN32
  return error == ERROR_FILE_NOT_FOUND;
#else
  return error == ENOENT;
#endif
}

std::string Quoted(std::string_view utf8) {
  if (CharCount(utf8) <= kQuotedChars) {
    return std::string(utf8);
  }
  std::string cut = LeftChars(utf8, kQuotedChars - 1);
  cut.append("…");
  return cut;
}

}  // namespace numora
