<?php
// The peer of the result query page: the same round's rows from an SQLite
// copy of the meet's Play table, with a session started, as one table.
// The stage field is cut as the meet's page cuts it: order, heat, lane, heat
// information, result, place, then the record mark.
session_start();
$_SESSION['seen'] = ($_SESSION['seen'] ?? 0) + 1;
$db = new SQLite3(__DIR__ . '/meet.sqlite', SQLITE3_OPEN_READONLY);
$st = $db->prepare("SELECT 编号, 运动员, 代表队, 预赛信息 FROM Play
  WHERE trim(参赛项目) = :item AND trim(年龄组) = :age AND 性别 = 1 AND trim(参赛子项目) = ''
    AND CAST(substr(预赛信息, 5, 4) AS INTEGER) > 0
  ORDER BY CAST(substr(预赛信息, 35, 4) AS INTEGER), CAST(substr(预赛信息, 5, 4) AS INTEGER),
           CAST(substr(预赛信息, 9, 4) AS INTEGER), 编号");
$st->bindValue(':item', $_GET['item'] ?? '100米');
$st->bindValue(':age', $_GET['age'] ?? '高中组');
$rows = $st->execute();
$h = fn($s) => htmlspecialchars(trim((string)$s), ENT_QUOTES, 'UTF-8');
$out = '';
$n = 0;
while ($r = $rows->fetchArray(SQLITE3_NUM)) {
  $f = str_pad($r[3], 237);
  $result = trim(substr($f, 18, 9));
  $shown = strlen($result) >= 4 ? ltrim(substr($result, 0, -2), '0') . '.' . substr($result, -2) : $result;
  $place = (int)substr($f, 34, 4);
  $out .= '<tr align=center><td>' . $h($r[0]) . '</td><td>' . $h($r[1]) . '</td><td>' . $h($r[2]) .
          '</td><td>' . (int)substr($f, 4, 4) . '</td><td>' . (int)substr($f, 8, 4) . '</td><td>' . $h($shown) .
          '</td><td>' . ($place > 0 ? $place : '') . '</td><td>' . $h(substr($f, 38, 4)) . "</td></tr>\n";
  $n++;
}
$title = $h(($_GET['age'] ?? '高中组') . '男子组' . ($_GET['item'] ?? '100米') . '预赛成绩');
?><!DOCTYPE html>
<html><head><meta charset="utf-8"><title>成绩查询</title></head><body>
<h2><?= $title ?> <small><?= $n ?> 人</small></h2>
<table class="list">
<thead><tr><th>编号</th><th>姓名</th><th>代表队</th><th>组次</th><th>道次</th><th>成绩</th><th>名次</th><th>破纪录</th></tr></thead>
<tbody><?= $out ?></tbody>
</table>
</body></html>
