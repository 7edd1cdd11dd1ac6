<?php
// Storage of uploaded songs in SQLite or PostgreSQL. The default SQLite file lies in the data
// directory, outside the served document root: no uploaded byte is ever served or run except
// through download.php.

declare(strict_types=1);

require __DIR__ . '/SongSchema.php';

final class SongStore
{
    public const MAX_SCRIPT_BYTES = 1048576;
    public const PAGE_SIZE = 100;

    private PDO $db;

    public function __construct(string $dsn, ?string $user = null, ?string $password = null)
    {
        $driver = strtolower(strstr($dsn, ':', true) ?: '');
        if (!SongSchema::supports($driver)) {
            throw new RuntimeException("unsupported database '$driver'");
        }
        $this->db = self::connect($dsn, $user, $password);
        try {
            SongSchema::migrate($this->db);
        } catch (PDOException) {
            // A kept connection whose server has restarted fails once; the next one is fresh.
            $this->db = self::connect($dsn, $user, $password);
            SongSchema::migrate($this->db);
        }
    }

    // Each PHP worker keeps its connection between requests: PostgreSQL starts a process for
    // every new connection, and SQLite would repeat its set-up.
    private static function connect(string $dsn, ?string $user, ?string $password): PDO
    {
        $db = new PDO($dsn, $user, $password, [
            PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION,
            PDO::ATTR_DEFAULT_FETCH_MODE => PDO::FETCH_ASSOC,
            PDO::ATTR_PERSISTENT => true,
        ]);
        if ($db->getAttribute(PDO::ATTR_DRIVER_NAME) === 'sqlite') {
            // Readers never wait for a writer; writers queue for up to the timeout.
            $db->exec('PRAGMA busy_timeout = 10000');
            $db->exec('PRAGMA journal_mode = WAL');
        }
        return $db;
    }

    // The store the environment names: $KAVENDRA_SONG_DSN with $KAVENDRA_SONG_DB_USER and
    // $KAVENDRA_SONG_DB_PASSWORD, or songs.sqlite in the data directory.
    public static function open(): self
    {
        $dsn = self::environment('KAVENDRA_SONG_DSN');
        if ($dsn === null) {
            $dir = self::dataDir();
            if (!is_dir($dir) && !mkdir($dir, 0770, true) && !is_dir($dir)) {
                throw new RuntimeException('cannot create the data directory');
            }
            $dsn = 'sqlite:' . $dir . '/songs.sqlite';
        }
        return new self($dsn, self::environment('KAVENDRA_SONG_DB_USER'),
            self::environment('KAVENDRA_SONG_DB_PASSWORD'));
    }

    // The data directory: $KAVENDRA_SONG_DATA, or server/data next to the document root.
    public static function dataDir(): string
    {
        return self::environment('KAVENDRA_SONG_DATA') ?? dirname(__DIR__) . '/data';
    }

    /** @param array<string, mixed> $song */
    public function add(array $song): int
    {
        $insert = $this->db->prepare('INSERT INTO songs
            (title, artist, "user", lyrics, file, uploaded_at, script, script_name, script_sha256,
             copy_name, copy_size, copy_sha256)
            VALUES (:title, :artist, :user, :lyrics, :file, :uploaded_at, :script, :script_name,
             :script_sha256, :copy_name, :copy_size, :copy_sha256)
            RETURNING id');
        foreach ($song as $key => $value) {
            $type = $key === 'script' ? PDO::PARAM_LOB
                : (is_int($value) ? PDO::PARAM_INT : (is_null($value) ? PDO::PARAM_NULL : PDO::PARAM_STR));
            $insert->bindValue(':' . $key, $value, $type);
        }
        $insert->execute();
        return (int)$insert->fetchColumn();
    }

    /**
     * One page of the list, newest first, without the scripts: the songs older than $before
     * (all songs when null), one more than a page so the caller knows whether more follow.
     * @return list<array<string, mixed>>
     */
    public function page(?int $before): array
    {
        $select = $this->db->prepare('SELECT id, title, artist, "user", lyrics, file, uploaded_at,
            length(script) AS size FROM songs WHERE id < :before ORDER BY id DESC LIMIT :count');
        $select->bindValue(':before', $before ?? PHP_INT_MAX, PDO::PARAM_INT);
        $select->bindValue(':count', self::PAGE_SIZE + 1, PDO::PARAM_INT);
        $select->execute();
        return $select->fetchAll();
    }

    /** @return array{file: string, script: string}|null */
    public function find(int $id): ?array
    {
        $select = $this->db->prepare('SELECT file, script FROM songs WHERE id = ?');
        $select->execute([$id]);
        $row = $select->fetch();
        if ($row === false) {
            return null;
        }
        // PostgreSQL hands binary columns over as streams.
        if (is_resource($row['script'])) {
            $row['script'] = stream_get_contents($row['script']);
        }
        return $row;
    }

    private static function environment(string $name): ?string
    {
        $value = getenv($name);
        return ($value === false || $value === '') ? null : $value;
    }
}

// A song script is text whose bracket nesting opens a "song" section at level 1.
function isSongScript(string $data): bool
{
    if ($data === '' || str_contains($data, "\0") || preg_match('//u', $data) !== 1) {
        return false;
    }
    $level = 0;
    $length = strlen($data);
    for ($i = 0; $i < $length; $i++) {
        $c = $data[$i];
        if ($c === '[') {
            $level++;
            if ($level === 1) {
                $end = strcspn($data, "\r\n", $i);
                if (str_contains(substr($data, $i + 1, $end - 1), 'song')) {
                    return true;
                }
            }
        } elseif ($c === ']') {
            $level--;
        }
    }
    return false;
}

function plainAnswer(int $status, string $text): never
{
    http_response_code($status);
    header('Content-Type: text/plain; charset=utf-8');
    header('X-Content-Type-Options: nosniff');
    echo $text;
    exit;
}
