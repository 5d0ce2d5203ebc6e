package visualizador.conexao;

import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Properties;
import java.util.function.Consumer;
import visualizador.ErroRelatorio;
import visualizador.dados.Ambiente;

/**
 * A connection service turned into the driver's URL and properties, as libpq would use it: the
 * service's keys first, then the PG* environment variables for keys it leaves unset. Keys the
 * driver cannot honour are named in a warning rather than dropped in silence.
 */
public record ConfiguracaoConexao(String url, Properties propriedades, String descricao, List<String> avisos) {

    /** libpq's environment variable for each key the viewer honours. */
    private static final Map<String, String> AMBIENTE = Map.ofEntries(Map.entry("host", "PGHOST"),
            Map.entry("hostaddr", "PGHOSTADDR"), Map.entry("port", "PGPORT"), Map.entry("dbname", "PGDATABASE"),
            Map.entry("user", "PGUSER"), Map.entry("password", "PGPASSWORD"), Map.entry("passfile", "PGPASSFILE"),
            Map.entry("options", "PGOPTIONS"), Map.entry("application_name", "PGAPPNAME"),
            Map.entry("connect_timeout", "PGCONNECT_TIMEOUT"), Map.entry("sslmode", "PGSSLMODE"),
            Map.entry("sslcert", "PGSSLCERT"), Map.entry("sslkey", "PGSSLKEY"),
            Map.entry("sslrootcert", "PGSSLROOTCERT"), Map.entry("gssencmode", "PGGSSENCMODE"),
            Map.entry("target_session_attrs", "PGTARGETSESSIONATTRS"));

    /** The keys passed to the driver under its own name. */
    private static final Map<String, String> DIRETAS = Map.of("options", "options", "connect_timeout",
            "connectTimeout", "sslmode", "sslmode", "sslcert", "sslcert", "sslkey", "sslkey", "sslrootcert",
            "sslrootcert", "sslpassword", "sslpassword", "gssencmode", "gssEncMode");

    /** target_session_attrs as the driver's targetServerType. */
    private static final Map<String, String> SESSAO = Map.of("any", "any", "read-write", "primary", "primary",
            "primary", "read-only", "secondary", "standby", "secondary", "prefer-standby", "preferSecondary");

    private static final List<String> CONHECIDAS = List.of("host", "hostaddr", "port", "dbname", "user", "password",
            "passfile", "options", "application_name", "fallback_application_name", "connect_timeout", "sslmode",
            "sslcert", "sslkey", "sslrootcert", "sslpassword", "gssencmode", "target_session_attrs");

    public static ConfiguracaoConexao de(String servico, Map<String, String> doServico, Ambiente amb)
            throws ErroRelatorio {
        final List<String> avisos = new ArrayList<>();
        final Map<String, String> s = new LinkedHashMap<>(doServico);
        s.values().removeIf(String::isEmpty); // as in libpq, an empty value leaves the key unset
        for (Map.Entry<String, String> e : AMBIENTE.entrySet()) {
            final String v = amb.variavel(e.getValue());
            if (!s.containsKey(e.getKey()) && v != null) s.put(e.getKey(), v);
        }
        for (String chave : s.keySet())
            if (!CONHECIDAS.contains(chave))
                avisos.add("Aviso: o visualizador não aplica a chave \"" + chave + "\" do serviço \"" + servico
                        + "\"; ela é ignorada.");

        String hosts = s.get("host");
        if (hosts == null) hosts = s.get("hostaddr");
        else if (s.containsKey("hostaddr"))
            avisos.add("Aviso: o visualizador conecta pelo host; a chave \"hostaddr\" do serviço \"" + servico
                    + "\" é ignorada.");
        final List<String> listaHosts = lista(hosts == null ? "localhost" : hosts);
        final List<String> listaPortas = lista(s.getOrDefault("port", "5432"));
        if (listaPortas.size() != 1 && listaPortas.size() != listaHosts.size())
            throw new ErroRelatorio("O serviço \"" + servico + "\" tem " + listaHosts.size() + " hosts e "
                    + listaPortas.size() + " portas; informe uma porta ou uma para cada host.");
        final StringBuilder enderecos = new StringBuilder();
        for (int i = 0; i < listaHosts.size(); i++) {
            final String h = listaHosts.get(i).isEmpty() ? "localhost" : listaHosts.get(i);
            if (h.startsWith("/"))
                throw new ErroRelatorio("O serviço \"" + servico + "\" usa o socket local " + h
                        + "; o visualizador conecta por TCP: informe host=localhost (ou o servidor) no serviço.");
            final String porta = listaPortas.get(listaPortas.size() == 1 ? 0 : i);
            final String p = porta.isEmpty() ? "5432" : porta;
            if (!p.matches("[0-9]{1,5}"))
                throw new ErroRelatorio("Porta inválida no serviço \"" + servico + "\": " + p + ".");
            enderecos.append(i == 0 ? "" : ",").append(h.contains(":") ? "[" + h + "]" : h).append(':').append(p);
        }

        final String usuario = s.getOrDefault("user", System.getProperty("user.name"));
        final String banco = s.getOrDefault("dbname", usuario);
        final Properties p = new Properties();
        p.setProperty("user", usuario);
        String senha = s.get("password");
        if (senha == null) {
            final String porta0 = listaPortas.get(0).isEmpty() ? "5432" : listaPortas.get(0);
            senha = ArquivoSenhas.senha(amb, s.get("passfile"), listaHosts.get(0).isEmpty() ? "localhost"
                    : listaHosts.get(0), porta0, banco, usuario, avisos::add);
        }
        if (senha != null) p.setProperty("password", senha);
        for (Map.Entry<String, String> e : DIRETAS.entrySet())
            if (s.containsKey(e.getKey())) p.setProperty(e.getValue(), s.get(e.getKey()));
        if (s.containsKey("target_session_attrs")) {
            final String tipo = SESSAO.get(s.get("target_session_attrs"));
            if (tipo == null)
                throw new ErroRelatorio("target_session_attrs inválido no serviço \"" + servico + "\": "
                        + s.get("target_session_attrs") + ".");
            p.setProperty("targetServerType", tipo);
        }
        p.setProperty("ApplicationName",
                s.getOrDefault("application_name", s.getOrDefault("fallback_application_name", "jasperviewer")));
        final String url = "jdbc:postgresql://" + enderecos + "/" + java.net.URLEncoder.encode(banco, StandardCharsets.UTF_8);
        return new ConfiguracaoConexao(url, p, usuario + "@" + enderecos + "/" + banco, List.copyOf(avisos));
    }

    private static List<String> lista(String valor) {
        final List<String> l = new ArrayList<>();
        for (String v : valor.split(",", -1)) l.add(v.strip());
        return l;
    }

    public void avisar(Consumer<String> saida) {
        avisos.forEach(saida);
    }
}
