-- schema.sql: tables and a report for the library database
/* Run with: psql -f schema.sql library */

CREATE TABLE IF NOT EXISTS authors (
    id          SERIAL PRIMARY KEY,
    name        VARCHAR(120) NOT NULL,
    born        DATE,
    country     CHAR(2) DEFAULT 'KR'
);

CREATE TABLE books (
    id          INTEGER PRIMARY KEY,
    author_id   INTEGER REFERENCES authors (id) ON DELETE CASCADE,
    title       TEXT NOT NULL,
    price       NUMERIC(8, 2) CHECK (price >= 0),
    published   TIMESTAMP DEFAULT CURRENT_TIMESTAMP,
    in_stock    BOOLEAN DEFAULT TRUE
);

CREATE INDEX books_author_idx ON books (author_id);

INSERT INTO authors (name, born, country)
VALUES ('Han Kang', '1970-11-27', 'KR'),
       ('O''Brien, Flann', '1911-10-05', 'IE');

-- Average price and number of titles per author, most productive first
SELECT a.name,
       COUNT(b.id)                 AS titles,
       ROUND(AVG(b.price), 2)      AS avg_price,
       MAX(b.published)::date      AS latest,
       COALESCE(SUM(b.price), 0)   AS total
FROM authors a
LEFT JOIN books b ON b.author_id = a.id AND b.in_stock = TRUE
WHERE a.born BETWEEN '1900-01-01' AND '1999-12-31'
   OR a.country IN ('KR', 'JP')
GROUP BY a.name
HAVING COUNT(b.id) > 0
ORDER BY titles DESC, "name" ASC
LIMIT 10;

UPDATE books SET price = price * 0.9 WHERE published < NOW() - INTERVAL '5 years';

DECLARE @limit INT = 25;  -- T-SQL style variable
DELETE FROM books WHERE price IS NULL;
