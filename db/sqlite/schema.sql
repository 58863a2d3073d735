-- Tarvik store, SQLite.
-- Declared types are read back by the data layer to convert values:
-- TEXT (COLLATE NOCASE, replaced per connection by a Unicode case fold),
-- INTEGER, REAL (money), DATE (stored as 'yyyy-MM-dd' text).
-- Foreign keys need PRAGMA foreign_keys=ON on every connection.
-- Column order and count are part of the format: windows write box i into
-- column i.

CREATE TABLE ARTICULOS (
    codigo_art         TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
    descripcion_art    TEXT COLLATE NOCASE CHECK (length(descripcion_art) <= 70),
    precio_compra      REAL,
    impuesto           INTEGER,
    precio_venta1      REAL,
    precio_venta2      REAL,
    precio_venta3      REAL,
    cantidad           INTEGER,
    stock_minimo       INTEGER,
    stock_maximo       INTEGER,
    observaciones_art  TEXT COLLATE NOCASE,
    fecha_ingreso_art  DATE,
    imagen_art         TEXT COLLATE NOCASE CHECK (length(imagen_art) <= 255),
    ubicacion          TEXT COLLATE NOCASE CHECK (length(ubicacion) <= 255),
    nombre_prov1       TEXT COLLATE NOCASE,
    nombre_prov2       TEXT COLLATE NOCASE,
    nombre_prov3       TEXT COLLATE NOCASE,
    tipo_art           TEXT COLLATE NOCASE
);

CREATE TABLE CLIENTES (
    codigo_cli          TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
    nombre_cli          TEXT COLLATE NOCASE,
    identificacion_cli  TEXT COLLATE NOCASE,
    direccion_cli       TEXT COLLATE NOCASE,
    telefono_cli        TEXT COLLATE NOCASE,
    fax_cli             TEXT COLLATE NOCASE,
    notas_cli           TEXT COLLATE NOCASE,
    fecha_ingreso_cli   DATE,
    imagen_cli          TEXT COLLATE NOCASE CHECK (length(imagen_cli) <= 255)
);

CREATE TABLE PROVEEDORES (
    codigo_prov          TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
    nombre_prov          TEXT COLLATE NOCASE,
    identificacion_prov  TEXT COLLATE NOCASE,
    direccion_prov       TEXT COLLATE NOCASE,
    telefono_prov        TEXT COLLATE NOCASE,
    fax_prov             TEXT COLLATE NOCASE,
    notas_prov           TEXT COLLATE NOCASE,
    fecha_ingreso_prov   DATE,
    imagen_prov          TEXT COLLATE NOCASE CHECK (length(imagen_prov) <= 255)
);

CREATE TABLE empresas (
    codigo_emp          INTEGER NOT NULL PRIMARY KEY,
    nombre_emp          TEXT COLLATE NOCASE UNIQUE,
    identificacion_emp  TEXT COLLATE NOCASE,
    direccion_emp       TEXT COLLATE NOCASE,
    regimen_emp         TEXT COLLATE NOCASE,
    PieFactura1         TEXT COLLATE NOCASE,
    PieFactura2         TEXT COLLATE NOCASE,
    PieFactura3         TEXT COLLATE NOCASE,
    PieFactura4         TEXT COLLATE NOCASE,
    PieFactura5         TEXT COLLATE NOCASE,
    PieFactura6         TEXT COLLATE NOCASE,
    costeo_inventario   TEXT COLLATE NOCASE,
    consecutivo_compra  INTEGER,
    consecutivo_venta   INTEGER,
    prefijo_ncf         TEXT COLLATE NOCASE CHECK (length(prefijo_ncf) <= 11),
    desde_ncf           INTEGER,
    hasta_ncf           INTEGER,
    consecutivo_ncf     INTEGER
);

CREATE TABLE usuarios (
    codigo_emp    INTEGER NOT NULL REFERENCES empresas (codigo_emp) ON DELETE CASCADE,
    codigo_usu    TEXT COLLATE NOCASE NOT NULL,
    nombre_usu    TEXT COLLATE NOCASE UNIQUE,
    password_usu  TEXT COLLATE NOCASE,
    nivel_usu     TEXT COLLATE NOCASE,
    PRIMARY KEY (codigo_emp, codigo_usu)
);

CREATE TABLE Ventas (
    codigo_fac         INTEGER NOT NULL,
    codigo_cli         TEXT COLLATE NOCASE REFERENCES CLIENTES (codigo_cli) ON DELETE CASCADE,
    fecha              DATE,
    forma_pago         TEXT COLLATE NOCASE,
    valor_neto         REAL,
    impuesto_total     REAL,
    descuento          REAL,
    abono              REAL,
    saldo              REAL,
    total              REAL,
    notas              TEXT COLLATE NOCASE,
    Estado             TEXT COLLATE NOCASE,
    fecha_vencimiento  DATE,
    codigo_emp         INTEGER NOT NULL REFERENCES empresas (codigo_emp) ON DELETE CASCADE,
    codigo_usu         TEXT COLLATE NOCASE,
    ncf                TEXT COLLATE NOCASE,
    PRIMARY KEY (codigo_fac, codigo_emp),
    FOREIGN KEY (codigo_emp, codigo_usu) REFERENCES usuarios (codigo_emp, codigo_usu) ON DELETE CASCADE
);
CREATE INDEX Ventas_codigo_cli ON Ventas (codigo_cli);
CREATE INDEX Ventas_usuario ON Ventas (codigo_emp, codigo_usu);
-- The NCF check before every sale and the period statements.
CREATE INDEX Ventas_ncf ON Ventas (codigo_emp, ncf);
CREATE INDEX Ventas_fecha ON Ventas (codigo_emp, fecha);

CREATE TABLE Compras (
    codigo_fac         INTEGER NOT NULL,
    codigo_prov        TEXT COLLATE NOCASE REFERENCES PROVEEDORES (codigo_prov) ON DELETE CASCADE,
    fecha              DATE,
    forma_pago         TEXT COLLATE NOCASE,
    valor_neto         REAL,
    impuesto_total     REAL,
    descuento          REAL,
    abono              REAL,
    saldo              REAL,
    total              REAL,
    notas              TEXT COLLATE NOCASE,
    Estado             TEXT COLLATE NOCASE,
    fecha_vencimiento  DATE,
    codigo_emp         INTEGER NOT NULL REFERENCES empresas (codigo_emp) ON DELETE CASCADE,
    codigo_usu         TEXT COLLATE NOCASE,
    ncf                TEXT COLLATE NOCASE,
    PRIMARY KEY (codigo_fac, codigo_emp),
    FOREIGN KEY (codigo_emp, codigo_usu) REFERENCES usuarios (codigo_emp, codigo_usu) ON DELETE CASCADE
);
CREATE INDEX Compras_codigo_prov ON Compras (codigo_prov);
CREATE INDEX Compras_usuario ON Compras (codigo_emp, codigo_usu);
CREATE INDEX Compras_fecha ON Compras (codigo_emp, fecha);

CREATE TABLE Detalles_FacVen (
    codigo_fac         INTEGER,
    codigo_emp         INTEGER,
    codigo_art         TEXT COLLATE NOCASE,
    descripcion_art    TEXT COLLATE NOCASE,
    cantidad           INTEGER,
    valor_unitario     REAL,
    impuesto           INTEGER,
    SubTotal           REAL,
    precio_compra_det  REAL,
    FOREIGN KEY (codigo_fac, codigo_emp) REFERENCES Ventas (codigo_fac, codigo_emp) ON DELETE CASCADE
);
CREATE INDEX Detalles_FacVen_factura ON Detalles_FacVen (codigo_fac, codigo_emp);
CREATE INDEX Detalles_FacVen_codigo_art ON Detalles_FacVen (codigo_art);

CREATE TABLE Detalles_FacCom (
    codigo_fac         INTEGER,
    codigo_emp         INTEGER,
    codigo_art         TEXT COLLATE NOCASE,
    descripcion_art    TEXT COLLATE NOCASE,
    cantidad           INTEGER,
    valor_unitario     REAL,
    impuesto           INTEGER,
    SubTotal           REAL,
    precio_compra_det  REAL,
    FOREIGN KEY (codigo_fac, codigo_emp) REFERENCES Compras (codigo_fac, codigo_emp) ON DELETE CASCADE
);
CREATE INDEX Detalles_FacCom_factura ON Detalles_FacCom (codigo_fac, codigo_emp);
CREATE INDEX Detalles_FacCom_codigo_art ON Detalles_FacCom (codigo_art);

CREATE TABLE Fact_xCobrar (
    codigo_fac   INTEGER NOT NULL,
    num_abono    INTEGER NOT NULL,
    valor_abono  REAL,
    fecha_abono  DATE,
    codigo_emp   INTEGER NOT NULL,
    PRIMARY KEY (codigo_fac, codigo_emp, num_abono),
    FOREIGN KEY (codigo_fac, codigo_emp) REFERENCES Ventas (codigo_fac, codigo_emp) ON DELETE CASCADE
);

CREATE TABLE Fact_xPagar (
    codigo_fac   INTEGER NOT NULL,
    num_abono    INTEGER NOT NULL,
    valor_abono  REAL,
    fecha_abono  DATE,
    codigo_emp   INTEGER NOT NULL,
    PRIMARY KEY (codigo_fac, codigo_emp, num_abono),
    FOREIGN KEY (codigo_fac, codigo_emp) REFERENCES Compras (codigo_fac, codigo_emp) ON DELETE CASCADE
);

CREATE TABLE Kardex (
    codigo_art          TEXT COLLATE NOCASE REFERENCES ARTICULOS (codigo_art) ON DELETE CASCADE,
    fecha               DATE,
    concepto            TEXT COLLATE NOCASE,
    unidades_entrantes  TEXT COLLATE NOCASE,
    unidades_salientes  TEXT COLLATE NOCASE,
    saldo               INTEGER,
    precio_compra       REAL
);
-- The stock card lists an article's rows by date.
CREATE INDEX Kardex_articulo_fecha ON Kardex (codigo_art, fecha);

-- AUTOINCREMENT: a deleted range's ID is never handed out again.
CREATE TABLE ncfs (
    ID           INTEGER PRIMARY KEY AUTOINCREMENT,
    descripcion  TEXT COLLATE NOCASE NOT NULL,
    prefijo      TEXT COLLATE NOCASE,
    desde        INTEGER,
    hasta        INTEGER,
    consecutivo  INTEGER,
    id_sucursal  TEXT COLLATE NOCASE
);
CREATE INDEX ncfs_sucursal ON ncfs (id_sucursal);
