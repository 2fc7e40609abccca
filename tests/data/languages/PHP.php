<?php
declare(strict_types=1);

/**
 * Guest book page: lists the latest entries and accepts a new one.
 */
namespace App\Guestbook;

use PDO;

const MAX_ENTRIES = 20;

function h(?string $text): string
{
    return htmlspecialchars($text ?? '', ENT_QUOTES, 'UTF-8');
}

$pdo = new PDO('sqlite:' . __DIR__ . '/guestbook.db');
$pdo->setAttribute(PDO::ATTR_ERRMODE, PDO::ERRMODE_EXCEPTION);

if ($_SERVER['REQUEST_METHOD'] === 'POST' && !empty($_POST['name'])) {
    $stmt = $pdo->prepare("INSERT INTO entries (name, message) VALUES (?, ?)");
    $stmt->execute([trim($_POST['name']), trim($_POST['message'] ?? '')]);
    header('Location: ' . $_SERVER['PHP_SELF'], true, 303);
    exit;
}

$entries = $pdo->query('SELECT * FROM entries ORDER BY id DESC LIMIT ' . MAX_ENTRIES)
               ->fetchAll(PDO::FETCH_ASSOC);
$count = count($entries); # number shown
?>
<!DOCTYPE html>
<html>
<head>
  <title>Guest book (<?= $count ?> entries)</title>
  <style>ul.entries li { margin-bottom: 0.5em; }</style>
</head>
<body>
  <h1>Guest book &ndash; <?php echo date('Y-m-d'); ?></h1>
  <ul class="entries">
  <?php foreach ($entries as $i => $e): ?>
    <li id="entry-<?= $e['id'] ?>"><b><?= h($e['name']) ?></b>: <?= h($e['message']) ?></li>
  <?php endforeach; ?>
  </ul>
  <form method="post">
    <input name="name" maxlength=40> <textarea name="message"></textarea>
    <button type="submit">Sign</button>
  </form>
  <script>
    document.querySelector('form').onsubmit = () => confirm("Post your entry?");
  </script>
  <p>Rendered for <?php echo "user {$count} at $count entries"; ?> in <?= round(0.0123, 2) ?>s.</p>
</body>
</html>
