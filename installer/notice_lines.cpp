// The DirectX notice's texts (see notice_lines.h).
#include "installer/notice_lines.h"

namespace installer {

NoticeLines DecideNoticeLines(bool hasDirectXEntry) {
    if (hasDirectXEntry) return {{"", "すでに新しいバージョンの", "DirectXがインストールされています。", ""}, false};
    return {{"最初はゲーム本体のみをセットアップして実行してみてください。",
             "その状態でゲームが起動した場合はすでにセットアップされています。",
             "重ねてセットアップするとトラブルが生じる場合がありますので、",
             "DirectX2のセットアップをする場合は、本製品マニュアルを必ずご覧ください。"},
            true};
}

}  // namespace installer
