#include "transfer/transfererror.h"

namespace lumipage
{

QString TransferError::message() const
{
    QString text;
    switch (kind) {
    case Kind::None:
        return {};
    case Kind::Login:
        text = QStringLiteral(
            "ユーザー名かパスワード（または鍵）が違います。公開先の設定で確かめてください。");
        break;
    case Kind::HostNotFound:
        text = QStringLiteral("サーバーが見つかりません。ホスト名を確かめ、ネットワークにつながって"
                              "いるか確かめてください。");
        break;
    case Kind::Refused:
        text = QStringLiteral(
            "サーバーが接続を拒否しました。ホスト名、ポート番号、プロトコルを確かめてください。");
        break;
    case Kind::TimedOut:
        text = QStringLiteral(
            "サーバーから応答がありません。しばらくしてからもう一度公開してください。");
        break;
    case Kind::HostKeyUnknown:
        text =
            QStringLiteral("初めて接続するサーバーです。ホスト鍵の指紋 %1 "
                           "がサーバーの管理者から知らされたものと同じときだけ信頼してください。")
                .arg(fingerprint);
        break;
    case Kind::HostKeyChanged:
        text = QStringLiteral("サーバーのホスト鍵が前回と違います（%"
                              "1）。別のサーバーになりすまされているおそれがあるため接続しません。"
                              "サーバーの管理者に鍵が変わったか確かめてください。")
                   .arg(fingerprint);
        break;
    case Kind::Certificate:
        text = QStringLiteral("サーバーの証明書を信頼できません。ホスト名が証明書のものと合っている"
                              "か確かめてください。");
        if (!fingerprint.isEmpty())
            text +=
                QStringLiteral("自己署名の証明書なら、公開鍵 %1 がサーバーの管理者から知らされた"
                               "ものと同じときだけ信頼してください。")
                    .arg(fingerprint);
        break;
    case Kind::Permission:
        text = QStringLiteral("サーバーのフォルダに書き込む権限がありません。リモートフォルダの"
                              "設定か、サーバーの権限を確かめてください。");
        break;
    case Kind::DiskFull:
        text = QStringLiteral("サーバーの空き容量が足りません。サーバー上の不要なファイルを消してか"
                              "ら、もう一度公開してください。");
        break;
    case Kind::Broken:
        text = QStringLiteral("接続が途中で切れました。サーバー上のファイルは前のままです。もう一度"
                              "公開すると続きを送ります。");
        break;
    case Kind::LocalFile:
        text = QStringLiteral("ファイルを読めませんでした。ファイルがあるか、読み取りの権限があるか"
                              "確かめてください。");
        break;
    case Kind::Cancelled:
        text = QStringLiteral(
            "公開を取り消しました。サーバー上のファイルは送り終えたもの以外は前のままです。");
        break;
    case Kind::Other:
        text = QStringLiteral("公開できませんでした。");
        break;
    }
    if (!file.isEmpty())
        text += QStringLiteral("\nファイル: %1").arg(file);
    if (!detail.isEmpty())
        text += QStringLiteral("\n（%1）").arg(detail);
    return text;
}

} // namespace lumipage
