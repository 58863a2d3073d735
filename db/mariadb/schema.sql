-- Tarvik store, MariaDB (10.10 or later for the UCA 14.0 collation).
-- Text compares case-insensitively but accent-sensitively, and trailing
-- blanks count (NO PAD), as on the local store:
-- 'CAFÉ' = 'café', 'CAFE' <> 'CAFÉ', '12' <> '12 '.
-- Every foreign key column has its parent's type and collation, as InnoDB
-- requires. Column order and count are part of the format: windows write
-- box i into column i.

CREATE TABLE ARTICULOS (
    codigo_art         VARCHAR(255) NOT NULL,
    descripcion_art    VARCHAR(70),
    precio_compra      DOUBLE,
    impuesto           INT,
    precio_venta1      DOUBLE,
    precio_venta2      DOUBLE,
    precio_venta3      DOUBLE,
    cantidad           INT,
    stock_minimo       INT,
    stock_maximo       INT,
    observaciones_art  TEXT,
    fecha_ingreso_art  DATE,
    imagen_art         VARCHAR(255),
    ubicacion          VARCHAR(255),
    nombre_prov1       VARCHAR(255),
    nombre_prov2       VARCHAR(255),
    nombre_prov3       VARCHAR(255),
    tipo_art           VARCHAR(255),
    PRIMARY KEY (codigo_art)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_uca1400_nopad_as_ci;

CREATE TABLE CLIENTES (
    codigo_cli          VARCHAR(255) NOT NULL,
    nombre_cli          VARCHAR(255),
    identificacion_cli  VARCHAR(255),
    direccion_cli       VARCHAR(255),
    telefono_cli        VARCHAR(255),
    fax_cli             VARCHAR(255),
    notas_cli           TEXT,
    fecha_ingreso_cli   DATE,
    imagen_cli          VARCHAR(255),
    PRIMARY KEY (codigo_cli)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_uca1400_nopad_as_ci;

CREATE TABLE PROVEEDORES (
    codigo_prov          VARCHAR(255) NOT NULL,
    nombre_prov          VARCHAR(255),
    identificacion_prov  VARCHAR(255),
    direccion_prov       VARCHAR(255),
    telefono_prov        VARCHAR(255),
    fax_prov             VARCHAR(255),
    notas_prov           TEXT,
    fecha_ingreso_prov   DATE,
    imagen_prov          VARCHAR(255),
    PRIMARY KEY (codigo_prov)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_uca1400_nopad_as_ci;

CREATE TABLE empresas (
    codigo_emp          INT NOT NULL,
    nombre_emp          VARCHAR(255),
    identificacion_emp  VARCHAR(255),
    direccion_emp       VARCHAR(255),
    regimen_emp         VARCHAR(255),
    PieFactura1         VARCHAR(255),
    PieFactura2         VARCHAR(255),
    PieFactura3         VARCHAR(255),
    PieFactura4         VARCHAR(255),
    PieFactura5         VARCHAR(255),
    PieFactura6         VARCHAR(255),
    costeo_inventario   VARCHAR(255),
    consecutivo_compra  INT,
    consecutivo_venta   INT,
    prefijo_ncf         VARCHAR(11),
    desde_ncf           INT,
    hasta_ncf           INT,
    consecutivo_ncf     INT,
    PRIMARY KEY (codigo_emp),
    UNIQUE KEY empresas_nombre_emp (nombre_emp)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_uca1400_nopad_as_ci;

CREATE TABLE usuarios (
    codigo_emp    INT NOT NULL,
    codigo_usu    VARCHAR(255) NOT NULL,
    nombre_usu    VARCHAR(255),
    password_usu  VARCHAR(255),
    nivel_usu     VARCHAR(255),
    PRIMARY KEY (codigo_emp, codigo_usu),
    UNIQUE KEY usuarios_nombre_usu (nombre_usu),
    CONSTRAINT usuarios_empresa FOREIGN KEY (codigo_emp)
        REFERENCES empresas (codigo_emp) ON DELETE CASCADE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_uca1400_nopad_as_ci;

CREATE TABLE Ventas (
    codigo_fac         INT NOT NULL,
    codigo_cli         VARCHAR(255),
    fecha              DATE,
    forma_pago         VARCHAR(255),
    valor_neto         DOUBLE,
    impuesto_total     DOUBLE,
    descuento          DOUBLE,
    abono              DOUBLE,
    saldo              DOUBLE,
    total              DOUBLE,
    notas              TEXT,
    Estado             VARCHAR(255),
    fecha_vencimiento  DATE,
    codigo_emp         INT NOT NULL,
    codigo_usu         VARCHAR(255),
    ncf                VARCHAR(255),
    PRIMARY KEY (codigo_fac, codigo_emp),
    KEY Ventas_codigo_cli (codigo_cli),
    KEY Ventas_usuario (codigo_emp, codigo_usu),
    CONSTRAINT Ventas_cliente FOREIGN KEY (codigo_cli)
        REFERENCES CLIENTES (codigo_cli) ON DELETE CASCADE,
    CONSTRAINT Ventas_empresa FOREIGN KEY (codigo_emp)
        REFERENCES empresas (codigo_emp) ON DELETE CASCADE,
    CONSTRAINT Ventas_usuario FOREIGN KEY (codigo_emp, codigo_usu)
        REFERENCES usuarios (codigo_emp, codigo_usu) ON DELETE CASCADE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_uca1400_nopad_as_ci;

CREATE TABLE Compras (
    codigo_fac         INT NOT NULL,
    codigo_prov        VARCHAR(255),
    fecha              DATE,
    forma_pago         VARCHAR(255),
    valor_neto         DOUBLE,
    impuesto_total     DOUBLE,
    descuento          DOUBLE,
    abono              DOUBLE,
    saldo              DOUBLE,
    total              DOUBLE,
    notas              TEXT,
    Estado             VARCHAR(255),
    fecha_vencimiento  DATE,
    codigo_emp         INT NOT NULL,
    codigo_usu         VARCHAR(255),
    ncf                VARCHAR(255),
    PRIMARY KEY (codigo_fac, codigo_emp),
    KEY Compras_codigo_prov (codigo_prov),
    KEY Compras_usuario (codigo_emp, codigo_usu),
    CONSTRAINT Compras_proveedor FOREIGN KEY (codigo_prov)
        REFERENCES PROVEEDORES (codigo_prov) ON DELETE CASCADE,
    CONSTRAINT Compras_empresa FOREIGN KEY (codigo_emp)
        REFERENCES empresas (codigo_emp) ON DELETE CASCADE,
    CONSTRAINT Compras_usuario FOREIGN KEY (codigo_emp, codigo_usu)
        REFERENCES usuarios (codigo_emp, codigo_usu) ON DELETE CASCADE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_uca1400_nopad_as_ci;

CREATE TABLE Detalles_FacVen (
    codigo_fac         INT,
    codigo_emp         INT,
    codigo_art         VARCHAR(255),
    descripcion_art    VARCHAR(255),
    cantidad           INT,
    valor_unitario     DOUBLE,
    impuesto           INT,
    SubTotal           DOUBLE,
    precio_compra_det  DOUBLE,
    KEY Detalles_FacVen_factura (codigo_fac, codigo_emp),
    KEY Detalles_FacVen_codigo_art (codigo_art),
    CONSTRAINT Detalles_FacVen_venta FOREIGN KEY (codigo_fac, codigo_emp)
        REFERENCES Ventas (codigo_fac, codigo_emp) ON DELETE CASCADE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_uca1400_nopad_as_ci;

CREATE TABLE Detalles_FacCom (
    codigo_fac         INT,
    codigo_emp         INT,
    codigo_art         VARCHAR(255),
    descripcion_art    VARCHAR(255),
    cantidad           INT,
    valor_unitario     DOUBLE,
    impuesto           INT,
    SubTotal           DOUBLE,
    precio_compra_det  DOUBLE,
    KEY Detalles_FacCom_factura (codigo_fac, codigo_emp),
    KEY Detalles_FacCom_codigo_art (codigo_art),
    CONSTRAINT Detalles_FacCom_compra FOREIGN KEY (codigo_fac, codigo_emp)
        REFERENCES Compras (codigo_fac, codigo_emp) ON DELETE CASCADE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_uca1400_nopad_as_ci;

CREATE TABLE Fact_xCobrar (
    codigo_fac   INT NOT NULL,
    num_abono    INT NOT NULL,
    valor_abono  DOUBLE,
    fecha_abono  DATE,
    codigo_emp   INT NOT NULL,
    PRIMARY KEY (codigo_fac, codigo_emp, num_abono),
    CONSTRAINT Fact_xCobrar_venta FOREIGN KEY (codigo_fac, codigo_emp)
        REFERENCES Ventas (codigo_fac, codigo_emp) ON DELETE CASCADE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_uca1400_nopad_as_ci;

CREATE TABLE Fact_xPagar (
    codigo_fac   INT NOT NULL,
    num_abono    INT NOT NULL,
    valor_abono  DOUBLE,
    fecha_abono  DATE,
    codigo_emp   INT NOT NULL,
    PRIMARY KEY (codigo_fac, codigo_emp, num_abono),
    CONSTRAINT Fact_xPagar_compra FOREIGN KEY (codigo_fac, codigo_emp)
        REFERENCES Compras (codigo_fac, codigo_emp) ON DELETE CASCADE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_uca1400_nopad_as_ci;

CREATE TABLE Kardex (
    codigo_art          VARCHAR(255),
    fecha               DATE,
    concepto            VARCHAR(255),
    unidades_entrantes  VARCHAR(255),
    unidades_salientes  VARCHAR(255),
    saldo               INT,
    precio_compra       DOUBLE,
    KEY Kardex_codigo_art (codigo_art),
    CONSTRAINT Kardex_articulo FOREIGN KEY (codigo_art)
        REFERENCES ARTICULOS (codigo_art) ON DELETE CASCADE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_uca1400_nopad_as_ci;

-- InnoDB keeps the auto-increment counter across restarts, so a deleted
-- range's ID is never handed out again.
CREATE TABLE ncfs (
    ID           INT NOT NULL AUTO_INCREMENT,
    descripcion  VARCHAR(255) NOT NULL,
    prefijo      VARCHAR(255),
    desde        INT,
    hasta        INT,
    consecutivo  INT,
    id_sucursal  VARCHAR(255),
    PRIMARY KEY (ID),
    KEY ncfs_sucursal (id_sucursal)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_uca1400_nopad_as_ci;

-- Added after the first stores were made: the set-up adds to an existing
-- store whichever of these it lacks. The NCF check before every sale, the
-- period statements, the stock card's listing by date, and the
-- receivables and payables windows (the parties with unpaid invoices, and a
-- party's unpaid invoices newest first).
CREATE INDEX Ventas_ncf ON Ventas (codigo_emp, ncf);
CREATE INDEX Ventas_fecha ON Ventas (codigo_emp, fecha);
CREATE INDEX Compras_fecha ON Compras (codigo_emp, fecha);
CREATE INDEX Kardex_articulo_fecha ON Kardex (codigo_art, fecha);
CREATE INDEX Ventas_pendientes ON Ventas (codigo_emp, Estado, codigo_cli, fecha);
CREATE INDEX Compras_pendientes ON Compras (codigo_emp, Estado, codigo_prov, fecha);
-- The order Kardex rows were stored in, like the local store's own rowid;
-- invisible, so that "Select *" still hands the seven columns.
ALTER TABLE Kardex ADD COLUMN rowid BIGINT NOT NULL AUTO_INCREMENT INVISIBLE, ADD UNIQUE KEY Kardex_rowid (rowid);
-- The invoice lines had no key of their own, and a cluster copies a change
-- to a table without one by searching every row. A counter of the same kind
-- keys them: InnoDB takes a unique key of NOT NULL columns for the primary
-- one, and the nine columns stay the row's format.
ALTER TABLE Detalles_FacVen ADD COLUMN rowid BIGINT NOT NULL AUTO_INCREMENT INVISIBLE, ADD UNIQUE KEY Detalles_FacVen_rowid (rowid);
ALTER TABLE Detalles_FacCom ADD COLUMN rowid BIGINT NOT NULL AUTO_INCREMENT INVISIBLE, ADD UNIQUE KEY Detalles_FacCom_rowid (rowid);
